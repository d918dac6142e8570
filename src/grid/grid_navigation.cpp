// TFixedColDBGrid: keys, the fixed columns, and the two-way link between the
// view's current row and the data set's current record.
#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

#include "engine/dataset/dataset.h"
#include "grid/FixedColDBGrid.h"
#include "grid/dataset_model.h"

namespace kashidashi {

void TFixedColDBGrid::keyPressEvent(QKeyEvent* event) {
    bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) CommitEditor(false);  // the window's handler sees the text typed
    if (OnKeyPress && OnKeyPress(*event)) {
        event->accept();
        return;
    }
    if (HandleDeskKey(*event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

// The keys that move or change records; true when the key was one of them.
bool TFixedColDBGrid::HandleDeskKey(QKeyEvent& event) {
    bool ctrl = event.modifiers() & Qt::ControlModifier;
    switch (event.key()) {
        case Qt::Key_Up:
            MoveRecord(-1);
            return true;
        case Qt::Key_Down:
            MoveRecord(1);
            return true;
        case Qt::Key_Delete:
            if (!ctrl) return false;
            if (CanDelete()) DeleteRecord();
            return true;
        case Qt::Key_Home:
        case Qt::Key_End:
            if (!ctrl) return false;
            MoveToEnd(event.key() == Qt::Key_End);
            return true;
        case Qt::Key_Escape: {
            engine::TDataSet* dataSet = DataSet();
            if (!dataSet || dataSet->State() == engine::DataSetState::dsBrowse ||
                !dataSet->Active())
                return false;  // the window's own Esc
            CancelPendingRow();
            return true;
        }
        default:
            return false;
    }
}

int TFixedColDBGrid::FirstFreeColumn() const {
    int column = NextFreeColumn(-1, 1);
    if (column >= 0) return column;
    for (int i = 0; i < ColumnCount(); ++i)
        if (!isColumnHidden(i)) return i;
    return 0;
}

// The next shown column after `column` in the direction of `step` (1 or -1)
// that is not fixed (fixed ones count while whole rows are selected); -1 when none.
int TFixedColDBGrid::NextFreeColumn(int column, int step) const {
    int first = options_ & dgRowSelect ? 0 : fixedCols_;
    for (int i = column + step; i >= 0 && i < ColumnCount(); i += step)
        if (i >= first && !isColumnHidden(i)) return i;
    return -1;
}

// The index moved off a fixed column onto the first column after them.
QModelIndex TFixedColDBGrid::FreeIndex(QModelIndex index) const {
    if (!index.isValid() || options_ & dgRowSelect || index.column() >= fixedCols_) return index;
    return model_->index(index.row(), FirstFreeColumn());
}

QModelIndex TFixedColDBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    QModelIndex current = currentIndex();
    if (!current.isValid()) return QTableView::moveCursor(action, modifiers);
    int row = current.row();
    switch (action) {
        case MoveHome:
            return FreeIndex(model_->index(row, FirstFreeColumn()));
        case MoveLeft: {
            if (modifiers & Qt::ControlModifier) return model_->index(row, FirstFreeColumn());
            int column = NextFreeColumn(current.column(), -1);
            return column < 0 ? current : model_->index(row, column);
        }
        case MoveNext: {
            int column = NextFreeColumn(current.column(), 1);
            if (column >= 0) return model_->index(row, column);
            return row + 1 < model_->rowCount() ? model_->index(row + 1, FirstFreeColumn())
                                                : current;
        }
        case MovePrevious: {
            int column = NextFreeColumn(current.column(), -1);
            if (column >= 0) return model_->index(row, column);
            int last = NextFreeColumn(ColumnCount(), -1);
            return row > 0 && last >= 0 ? model_->index(row - 1, last) : current;
        }
        default:
            return FreeIndex(QTableView::moveCursor(action, modifiers));
    }
}

// The view follows the data set: the record's row becomes current, the column stays.
void TFixedColDBGrid::FollowDataSet(int row) {
    bool wasFollowing = following_;
    following_ = true;
    if (row < 0) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
    } else {
        int column = std::clamp(selectedColumn_, 0, std::max(0, ColumnCount() - 1));
        QModelIndex index = FreeIndex(model_->index(row, column));
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    following_ = wasFollowing;
}

// The data set follows the view: a row chosen by the mouse or a page key.
void TFixedColDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);  // commits an open editor
    if (following_ || modelChanging_ > 0 || !current.isValid()) return;
    selectedColumn_ = current.column();
    if (current.row() != model_->CurrentRow()) MoveToRow(current.row());
    QModelIndex free = FreeIndex(currentIndex());
    if (free != currentIndex()) FollowDataSet(free.row());
}

void TFixedColDBGrid::MoveToRow(int row) {
    try {
        model_->MakeCurrent(row);
    } catch (const std::exception& error) {
        ShowError(error);
    }
    if (model_->CurrentRow() != currentIndex().row()) FollowDataSet(model_->CurrentRow());
}

int TFixedColDBGrid::SelectedIndex() const {
    return selectedColumn_;
}

void TFixedColDBGrid::SetSelectedIndex(int column) {
    if (ColumnCount() == 0) return;
    selectedColumn_ = std::clamp(column, 0, ColumnCount() - 1);
    if (!(options_ & dgRowSelect) && selectedColumn_ < fixedCols_)
        selectedColumn_ = FirstFreeColumn();
    if (model_->CurrentRow() >= 0) FollowDataSet(model_->CurrentRow());
}

}  // namespace kashidashi
