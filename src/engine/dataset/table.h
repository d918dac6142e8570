// Tables: a data set over one stored table, walked in the order of its
// primary index, of a secondary index (IndexName) or of the index whose
// columns IndexFieldNames lists, or in insertion order when the table has no
// primary index. Rows are fetched a window at a time, never the whole table.
//
// Filter/Filtered: while Filtered, only rows for which Filter is true are
// seen by navigation, RecordCount, Last and FindKey. Filter, index and
// Exclusive may be set in any state; a filter set on a closed table takes
// effect when it opens.
//
// Locks: Edit locks the row against every other session, retrying
// LockRetryCount times LockWaitTime apart, then fails with 10258; Post and
// Cancel release it. An exclusive open fails (10241) while another session
// has the table open, and while it is held so every other open fails.
// EmptyTable, DeleteTable and RenameTable need exclusive use.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/dataset/db_dataset.h"
#include "engine/storage/plan.h"
#include "engine/storage/schema.h"

namespace engine {

class TableCursor;

class TDBTable : public TDBDataSet {
  public:
    TDBTable();
    ~TDBTable() override;

    const std::string& TableName() const { return tableName_; }
    void SetTableName(const std::string& name);
    const std::string& IndexName() const { return indexName_; }
    void SetIndexName(const std::string& name);
    const std::string& IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(const std::string& names);
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& filter);
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool filtered);
    bool Exclusive() const { return exclusive_; }
    void SetExclusive(bool exclusive);
    bool ReadOnly = false;

    // Key search on the current index: settles a pending change, converts the
    // values to the key columns' types, and moves to the first row in index
    // order whose key equals them and that passes the filter. False, and the
    // current row unchanged, when there is none.
    bool FindKey(const std::vector<Value>& keyValues);

    void EmptyTable();
    void DeleteTable();
    void RenameTable(const std::string& newName);
    bool Exists() const;
    const storage::TableSchema& Schema() const;  // while open

    std::string DataSetName() const override { return tableName_; }
    Value Lookup(std::string_view keyFields, const std::vector<Value>& keyValues,
                 std::string_view resultField) override;

  protected:
    std::vector<storage::ColumnDef> DoOpen() override;
    void DoClose() override;
    std::optional<storage::Row> DoFirst() override;
    std::optional<storage::Row> DoLast() override;
    std::optional<storage::Row> DoNext() override;
    std::optional<storage::Row> DoPrior() override;
    int64_t DoRecordCount() override;
    std::vector<storage::Row> DoAllRows() override;
    storage::Row DoBeginEdit(const storage::Row& row) override;
    void DoEndEdit(const storage::Row& row) override;
    storage::Row DoPostEdit(const storage::Row& original,
                            const std::vector<Value>& values) override;
    storage::Row DoPostInsert(std::vector<Value> values) override;
    std::optional<storage::Row> DoDelete(const storage::Row& row) override;
    std::optional<storage::Row> DoRefresh(const storage::Row* current) override;
    std::optional<storage::Row> DoSeek(const storage::Row& row) override;

  private:
    std::vector<int> OrderColumns() const;
    void MakeCursor();
    std::vector<storage::ColumnDef> OpenAs(std::optional<storage::TableSchema> schema);
    void Reorder();
    void Refilter();
    void WithExclusiveUse(
        const std::function<void(storage::Connection&, const std::string&)>& work);

    std::string tableName_;
    std::string indexName_;
    std::string indexFieldNames_;
    std::string filter_;
    bool filtered_ = false;
    bool exclusive_ = false;
    std::optional<storage::TableSchema> schema_;
    plan::ExprPtr boundFilter_;
    std::unique_ptr<TableCursor> cursor_;
};

}  // namespace engine
