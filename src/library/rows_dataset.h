// TRowsDataSet: a read-only data set over rows that code has computed (an
// overdue list, the counts of a statistic), so that the project's grid, its
// CSV and spreadsheet export and the report renderer read them like any
// query result.
//
// The columns are given once (name, type, display label); SetRows replaces
// the rows and, while open, tells the observers that every row may differ.
// Editing, appending and deleting fail with a DataSetError: nothing stored
// stands behind the rows.
#pragma once

#include <string>
#include <vector>

#include "engine/dataset/dataset.h"

namespace kashidashi::library {

struct RowsColumn {
    std::string name;
    engine::ColumnType type;
    std::string label;          // the grid's title; empty: the name
    std::string displayFormat;  // "0000000" for book numbers; empty: none
};

class TRowsDataSet : public engine::TDataSet {
  public:
    TRowsDataSet(std::string name, std::vector<RowsColumn> columns);

    // Each row holds one value per column, in column order.
    void SetRows(std::vector<std::vector<engine::Value>> rows);
    // Takes out the row at `position` (from 0) alone; the current row stays
    // current (its follower when it was the one taken out).
    void RemoveRow(size_t position);
    size_t RowCount() const { return rows_.size(); }
    std::string DataSetName() const override { return name_; }

  protected:
    std::vector<engine::storage::ColumnDef> DoOpen() override;
    void DoClose() override {}
    std::optional<engine::storage::Row> DoFirst() override;
    std::optional<engine::storage::Row> DoLast() override;
    std::optional<engine::storage::Row> DoNext() override;
    std::optional<engine::storage::Row> DoPrior() override;
    int64_t DoRecordCount() override { return static_cast<int64_t>(rows_.size()); }
    std::vector<engine::storage::Row> DoAllRows() override { return rows_; }
    engine::storage::Row DoBeginEdit(const engine::storage::Row& row) override;
    void DoEndEdit(const engine::storage::Row&) override {}
    engine::storage::Row DoPostEdit(const engine::storage::Row& original,
                                    const std::vector<engine::Value>& values) override;
    engine::storage::Row DoPostInsert(std::vector<engine::Value> values) override;
    std::optional<engine::storage::Row> DoDelete(const engine::storage::Row& row) override;
    std::optional<engine::storage::Row> DoRefresh(const engine::storage::Row* current) override;
    std::optional<engine::storage::Row> DoSeek(const engine::storage::Row& row) override;

  private:
    std::optional<engine::storage::Row> RowAt(size_t position);
    [[noreturn]] void ReadOnlyFailure() const;

    std::string name_;
    std::vector<RowsColumn> columns_;
    std::vector<engine::storage::Row> rows_;
    size_t position_ = 0;
};

}  // namespace kashidashi::library
