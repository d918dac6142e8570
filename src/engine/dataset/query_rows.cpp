// The rows of a query result: walking them, and editing them either in the
// private copy or, for a live result, in the table through a RowWriter.
#include "engine/common/error.h"
#include "engine/dataset/query.h"
#include "engine/dataset/row_writer.h"

namespace engine {

std::optional<storage::Row> TDBQuery::RowAt(size_t position) {
    if (position >= rows_.size()) return std::nullopt;
    position_ = position;
    return rows_[position];
}

std::optional<storage::Row> TDBQuery::DoFirst() {
    return RowAt(0);
}
std::optional<storage::Row> TDBQuery::DoLast() {
    return rows_.empty() ? std::nullopt : RowAt(rows_.size() - 1);
}
std::optional<storage::Row> TDBQuery::DoNext() {
    return RowAt(position_ + 1);
}
std::optional<storage::Row> TDBQuery::DoPrior() {
    return position_ == 0 ? std::nullopt : RowAt(position_ - 1);
}
int64_t TDBQuery::DoRecordCount() {
    return static_cast<int64_t>(rows_.size());
}
std::vector<storage::Row> TDBQuery::DoAllRows() {
    return rows_;
}

std::optional<storage::Row> TDBQuery::DoSeek(const storage::Row& row) {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == row.id) return RowAt(i);
    return std::nullopt;
}

size_t TDBQuery::PositionOf(const storage::Row& row) const {
    if (position_ < rows_.size() && rows_[position_].id == row.id) return position_;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == row.id) return i;
    throw EngineError::Make(err::kNoCurrentRecord, DataSetName());
}

storage::Row TDBQuery::ResultRow(const storage::Row& tableRow) const {
    storage::Row row{tableRow.id, {}};
    for (int column : liveColumns_) row.values.push_back(tableRow.values.at(column));
    return row;
}

std::vector<Value> TDBQuery::TableValues(const std::vector<Value>& resultValues,
                                         std::vector<Value> base) const {
    for (size_t i = 0; i < liveColumns_.size(); ++i) base.at(liveColumns_[i]) = resultValues.at(i);
    return base;
}

RowWriter TDBQuery::Writer() const {
    return RowWriter(Connection(), *live_, Session());
}

storage::Row TDBQuery::DoBeginEdit(const storage::Row& row) {
    size_t at = PositionOf(row);
    if (!live_) return rows_[at];
    // The edit starts from the row as stored now, under its lock.
    editBase_ = Writer().LockAndRead(row);
    return rows_[at] = ResultRow(*editBase_);
}

void TDBQuery::DoEndEdit(const storage::Row& row) {
    if (!live_) return;
    Writer().Unlock(row);
    editBase_.reset();
}

storage::Row TDBQuery::DoPostEdit(const storage::Row& original, const std::vector<Value>& values) {
    size_t at = PositionOf(original);
    if (!live_) {
        rows_[at].values = values;
        return rows_[at];
    }
    storage::Row posted = Writer().Update(*editBase_, TableValues(values, editBase_->values));
    return rows_[at] = ResultRow(posted);
}

storage::Row TDBQuery::DoPostInsert(std::vector<Value> values) {
    storage::Row posted{nextCopyId_, std::move(values)};
    if (live_) {
        // Columns the result does not show start NULL, like every new row.
        std::vector<Value> blank(live_->columns.size());
        posted = ResultRow(Writer().Insert(TableValues(posted.values, std::move(blank))));
    } else {
        ++nextCopyId_;
    }
    rows_.push_back(std::move(posted));
    position_ = rows_.size() - 1;
    return rows_.back();
}

std::optional<storage::Row> TDBQuery::DoDelete(const storage::Row& row) {
    size_t at = PositionOf(row);
    if (live_) Writer().Delete(row);
    rows_.erase(rows_.begin() + static_cast<long>(at));
    if (rows_.empty()) return std::nullopt;
    return RowAt(std::min(at, rows_.size() - 1));
}

std::optional<storage::Row> TDBQuery::DoRefresh(const storage::Row* current) {
    size_t old = position_;
    plan::Select select = BindOpenStatement();
    select.withRowId = live_.has_value();
    Fetch(select);
    if (rows_.empty()) return std::nullopt;
    // A live result stands on the same table row again when it is still there.
    if (live_ && current)
        for (size_t i = 0; i < rows_.size(); ++i)
            if (rows_[i].id == current->id) return RowAt(i);
    return RowAt(std::min(old, rows_.size() - 1));
}

}  // namespace engine
