// DataSetModel's answers to its data set's notices, and the current row.
#include "grid/dataset_model.h"
#include "grid/dataset_walk.h"

namespace kashidashi {

void DataSetModel::DataSetChanged(engine::TDataSet& dataSet, engine::DataSetChange change) {
    if (DataSetWalk::Walking(dataSet)) return;
    switch (change) {
        case engine::DataSetChange::Rows:
            Reload();
            break;
        case engine::DataSetChange::Scrolled:
            SyncCurrent();
            break;
        case engine::DataSetChange::Record:
            RefreshCurrent();
            break;
    }
}

void DataSetModel::StateChanged(engine::TDataSet& dataSet) {
    if (DataSetWalk::Walking(dataSet)) return;
    if (dataSet.State() == engine::DataSetState::dsInsert) {
        ShowInsertedRow();
        return;
    }
    DropInsertedRow();
    if (currentRow_ >= 0) emit headerDataChanged(Qt::Vertical, currentRow_, currentRow_);
}

void DataSetModel::FieldChanged(engine::TField& field) {
    if (!DataSetWalk::Walking(field.DataSet())) RefreshCurrent();
}

// Finds the current record among the rows read, reading on up to it.
void DataSetModel::SyncCurrent() {
    if (inserted_) return SetCurrentRow(insertedAt_);
    auto bookmark = dataSet_ && dataSet_->Active() ? dataSet_->GetBookmark() : std::nullopt;
    if (!bookmark) return SetCurrentRow(-1);
    int row = RowOf(bookmark->id);
    while (row < 0 && !atEnd_ && Browsing() && FetchBatch()) row = RowOf(bookmark->id);
    SetCurrentRow(row);
}

void DataSetModel::SetCurrentRow(int row) {
    int previous = currentRow_;
    currentRow_ = row;
    if (previous >= 0 && previous < rowCount())
        emit headerDataChanged(Qt::Vertical, previous, previous);
    if (row >= 0) emit headerDataChanged(Qt::Vertical, row, row);
    if (previous != row) emit CurrentRowMoved(row);
}

bool DataSetModel::MakeCurrent(int row) {
    if (row == currentRow_) return true;
    const CachedRow* cached = RowAt(row);
    if (!cached || !dataSet_ || (inserted_ && row == insertedAt_)) return false;
    engine::storage::RowId id = cached->id;
    if (!dataSet_->GotoBookmark(BookmarkOf(id))) return false;
    return true;
}

// Re-reads the texts of the current row. Only cells whose text changed are
// announced, so an open cell editor keeps what the operator is typing.
void DataSetModel::RefreshCurrent() {
    if (currentRow_ < 0 || !dataSet_ || !dataSet_->Active()) return SyncCurrent();
    CachedRow* row = const_cast<CachedRow*>(RowAt(currentRow_));
    if (!row) return;
    std::vector<QString> texts;
    try {
        texts = ReadTexts();
    } catch (const std::exception& error) {
        return Report(error);
    }
    for (int column = 0; column < static_cast<int>(texts.size()); ++column) {
        if (column < static_cast<int>(row->texts.size()) && row->texts[column] == texts[column])
            continue;
        row->texts.resize(texts.size());
        row->texts[column] = texts[column];
        emit dataChanged(index(currentRow_, column), index(currentRow_, column));
    }
    emit headerDataChanged(Qt::Vertical, currentRow_, currentRow_);
}

// The new row of an insert, shown after the row that was current.
void DataSetModel::ShowInsertedRow() {
    if (inserted_) return;
    int at = currentRow_ >= 0 ? currentRow_ + 1 : rowCount();
    beginInsertRows({}, at, at);
    insertedAt_ = at;
    inserted_ = CachedRow{0, std::vector<QString>(fields_.size())};
    endInsertRows();
    SetCurrentRow(at);
}

void DataSetModel::DropInsertedRow() {
    if (!inserted_) return;
    beginRemoveRows({}, insertedAt_, insertedAt_);
    inserted_.reset();
    if (currentRow_ == insertedAt_) currentRow_ = -1;
    insertedAt_ = -1;
    endRemoveRows();
}

}  // namespace kashidashi
