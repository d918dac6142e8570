#include "library/rows_dataset.h"

#include <algorithm>

#include "engine/common/error.h"

namespace kashidashi::library {

using engine::storage::Row;

TRowsDataSet::TRowsDataSet(std::string name, std::vector<RowsColumn> columns)
    : name_(std::move(name)), columns_(std::move(columns)) {
    // Persistent fields, so that the grid and the reports see the labels
    // and display formats before the rows come.
    for (const auto& column : columns_) {
        auto& field = AddField<engine::TField>(column.name, column.type.type, column.type.size);
        if (!column.label.empty()) field.SetDisplayLabel(column.label);
        field.DisplayFormat = column.displayFormat;
        field.ReadOnly = true;
    }
}

void TRowsDataSet::SetRows(std::vector<std::vector<engine::Value>> rows) {
    rows_.clear();
    rows_.reserve(rows.size());
    engine::storage::RowId id = 1;
    for (auto& values : rows) rows_.push_back(Row{id++, std::move(values)});
    position_ = 0;
    if (Active()) Refresh();
}

void TRowsDataSet::RemoveRow(size_t position) {
    if (position >= rows_.size()) return;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(position));
    for (size_t i = position; i < rows_.size(); ++i)
        rows_[i].id = static_cast<engine::storage::RowId>(i + 1);
    if (!Active()) return;
    // The current row by its place after the removal.
    const size_t current = position_ > position ? position_ - 1 : position_;
    position_ = rows_.empty() ? 0 : std::min(current, rows_.size() - 1);
    Refresh();
}

std::vector<engine::storage::ColumnDef> TRowsDataSet::DoOpen() {
    std::vector<engine::storage::ColumnDef> defs;
    for (const auto& column : columns_) defs.push_back({column.name, column.type});
    position_ = 0;
    return defs;
}

std::optional<Row> TRowsDataSet::RowAt(size_t position) {
    if (position >= rows_.size()) return std::nullopt;
    position_ = position;
    return rows_[position];
}

std::optional<Row> TRowsDataSet::DoFirst() {
    return RowAt(0);
}
std::optional<Row> TRowsDataSet::DoLast() {
    return rows_.empty() ? std::nullopt : RowAt(rows_.size() - 1);
}
std::optional<Row> TRowsDataSet::DoNext() {
    return RowAt(position_ + 1);
}
std::optional<Row> TRowsDataSet::DoPrior() {
    return position_ == 0 ? std::nullopt : RowAt(position_ - 1);
}

std::optional<Row> TRowsDataSet::DoSeek(const Row& row) {
    if (row.id < 1 || static_cast<size_t>(row.id) > rows_.size()) return std::nullopt;
    return RowAt(static_cast<size_t>(row.id - 1));  // ids number the rows from 1
}

std::optional<Row> TRowsDataSet::DoRefresh(const Row* current) {
    if (rows_.empty()) return std::nullopt;
    if (current) {
        if (auto row = DoSeek(*current)) return row;
    }
    return RowAt(0);
}

void TRowsDataSet::ReadOnlyFailure() const {
    throw engine::DataSetError(name_ + " は読み取り専用です。");
}

Row TRowsDataSet::DoBeginEdit(const Row&) {
    ReadOnlyFailure();
}
Row TRowsDataSet::DoPostEdit(const Row&, const std::vector<engine::Value>&) {
    ReadOnlyFailure();
}
Row TRowsDataSet::DoPostInsert(std::vector<engine::Value>) {
    ReadOnlyFailure();
}
std::optional<Row> TRowsDataSet::DoDelete(const Row&) {
    ReadOnlyFailure();
}

}  // namespace kashidashi::library
