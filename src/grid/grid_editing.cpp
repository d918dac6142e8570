// TFixedColDBGrid: what may be edited, appended and deleted, and the record
// moves that settle a pending edit.
#include <QApplication>
#include <QFocusEvent>

#include "engine/dataset/dataset.h"
#include "grid/FixedColDBGrid.h"
#include "grid/dataset_model.h"
#include "grid/dataset_rules.h"
#include "widgets/dialogs.h"

namespace kashidashi {

using engine::DataSetState;

bool TFixedColDBGrid::CanEdit() const {
    engine::TDataSet* dataSet = DataSet();
    return dataSet && dataSet->Active() && (options_ & dgEditing) && !(options_ & dgRowSelect) &&
           !readOnly_ && CanModify(*dataSet);
}

bool TFixedColDBGrid::CanAppend() const {
    return CanEdit() && !IsPrivateCopy(*DataSet());
}

bool TFixedColDBGrid::CanDelete() const {
    engine::TDataSet* dataSet = DataSet();
    return dataSet && dataSet->Active() && !readOnly_ && CanModify(*dataSet) &&
           !IsPrivateCopy(*dataSet) && !dataSet->IsEmpty();
}

// Without AutoEdit on the source, only a record already being edited takes typing.
bool TFixedColDBGrid::CellEditable(int column) const {
    engine::TField* field = ColumnField(column);
    if (!CanEdit() || column >= ColumnCount() || columns_[column].ReadOnly || !field ||
        field->fieldKind != engine::FieldKind::fkData || field->ReadOnly)
        return false;
    return dataSource_->AutoEdit || DataSet()->State() != DataSetState::dsBrowse;
}

// Up (-1) and Down (1). Down on the last record appends when CanAppend();
// on a new record nobody has touched, Up gives it up and Down does nothing.
bool TFixedColDBGrid::MoveRecord(int delta) {
    engine::TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active()) return false;
    CommitEditor();
    try {
        if (dataSet->State() == DataSetState::dsInsert && !dataSet->Modified()) {
            if (delta < 0) dataSet->Cancel();
            return delta < 0;
        }
        if (delta < 0) {
            dataSet->Prior();
            return !dataSet->Bof();
        }
        dataSet->Next();
        if (!dataSet->Eof()) return true;
        if (CanAppend()) dataSet->Append();
        return CanAppend();
    } catch (const std::exception& error) {
        ShowError(error);
        return false;
    }
}

void TFixedColDBGrid::MoveToEnd(bool last) {
    engine::TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active()) return;
    CommitEditor();
    try {
        last ? dataSet->Last() : dataSet->First();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TFixedColDBGrid::DeleteRecord() {
    CommitEditor();
    if ((options_ & dgConfirmDelete) &&
        Dialogs::Question(this, QString::fromUtf8(kDeleteQuestion), Dialogs::Yes | Dialogs::No) !=
            Dialogs::Yes)
        return;
    try {
        DataSet()->Delete();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

// Esc: the edit or the new record of the current row is given up.
void TFixedColDBGrid::CancelPendingRow() {
    engine::TDataSet* dataSet = DataSet();
    if (!dataSet || !dataSet->Active()) return;
    try {
        dataSet->Cancel();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TFixedColDBGrid::CancelUntouchedInsert() {
    engine::TDataSet* dataSet = DataSet();
    if ((options_ & dgCancelOnExit) && dataSet && dataSet->State() == DataSetState::dsInsert &&
        !dataSet->Modified())
        CancelPendingRow();
}

// Writes the text of an open cell editor to its field, and closes the editor
// unless told (Enter: the editor closes itself once the key is handled).
void TFixedColDBGrid::CommitEditor(bool close) {
    QWidget* editor = indexWidget(currentIndex());
    if (!editor || state() != EditingState) return;
    commitData(editor);
    if (close) closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TFixedColDBGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    LeftGrid(QApplication::focusWidget());
}

// Focus went from the grid (or its cell editor) to `now`: another control of
// the same window means the operator left the grid.
void TFixedColDBGrid::LeftGrid(QWidget* now) {
    if (!now || now == this || isAncestorOf(now) || now->window() != window()) return;
    CancelUntouchedInsert();
}

}  // namespace kashidashi
