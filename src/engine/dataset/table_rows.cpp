// Opening a table, walking it, and writing its rows.
#include "engine/common/error.h"
#include "engine/common/value_convert.h"
#include "engine/dataset/row_writer.h"
#include "engine/dataset/table.h"
#include "engine/dataset/table_cursor.h"
#include "engine/session/database.h"
#include "engine/session/session.h"

namespace engine {

// A description kept from an earlier open serves outside a transaction;
// when the first read shows it outdated, the open starts again once with a
// description read afresh.
std::vector<storage::ColumnDef> TDBTable::DoOpen() {
    auto& connection = Connection();
    if (connection.InTransaction()) return OpenAs(connection.DescribeTable(tableName_));
    uint64_t changes = connection.SchemaChanges();
    try {
        auto columns = OpenAs(connection.DescribeTableKept(tableName_));
        if (connection.SchemaChanges() == changes) return columns;
        DoClose();
    } catch (const EngineError&) {
        if (connection.SchemaChanges() == changes) throw;
    }
    return OpenAs(connection.DescribeTable(tableName_));
}

// Takes the table's use and reads its first rows in one go.
std::vector<storage::ColumnDef> TDBTable::OpenAs(std::optional<storage::TableSchema> schema) {
    schema_ = std::move(schema);
    if (!schema_) throw EngineError::Make(err::kTableMissing, tableName_);
    auto use = exclusive_ ? storage::TableUse::Exclusive : storage::TableUse::Shared;
    auto forget = [&] {
        cursor_.reset();
        boundFilter_.reset();
        schema_.reset();
    };
    std::optional<std::vector<storage::Row>> first;
    try {
        MakeCursor();
        first = Connection().TryUseTableAndScan(use, cursor_->FirstRequest());
    } catch (...) {
        forget();
        throw;
    }
    if (!first) {
        forget();
        throw EngineError::Make(err::kTableLocked, tableName_);
    }
    cursor_->Prime(std::move(*first));
    AttachToDatabase();
    return schema_->columns;
}

void TDBTable::DoClose() {
    cursor_.reset();
    boundFilter_.reset();
    if (schema_) {
        Connection().EndUseTable(
            schema_->name, exclusive_ ? storage::TableUse::Exclusive : storage::TableUse::Shared);
        schema_.reset();
    }
    DetachFromDatabase();
}

std::optional<storage::Row> TDBTable::DoFirst() {
    return cursor_->First();
}
std::optional<storage::Row> TDBTable::DoLast() {
    return cursor_->Last();
}
std::optional<storage::Row> TDBTable::DoNext() {
    return cursor_->Next();
}
std::optional<storage::Row> TDBTable::DoPrior() {
    return cursor_->Prior();
}
int64_t TDBTable::DoRecordCount() {
    return cursor_->Count();
}

std::vector<storage::Row> TDBTable::DoAllRows() {
    std::vector<storage::Row> rows;
    TableCursor walk(Connection(), *schema_, cursor_->Order(), boundFilter_.get());
    for (auto row = walk.First(); row; row = walk.Next()) rows.push_back(*row);
    return rows;
}

storage::Row TDBTable::DoBeginEdit(const storage::Row& row) {
    if (ReadOnly) throw EngineError::Make(err::kAccessDenied, tableName_);
    return RowWriter(Connection(), *schema_, Session()).LockAndRead(row);
}

void TDBTable::DoEndEdit(const storage::Row& row) {
    RowWriter(Connection(), *schema_, Session()).Unlock(row);
}

storage::Row TDBTable::DoPostEdit(const storage::Row& original, const std::vector<Value>& values) {
    storage::Row posted = RowWriter(Connection(), *schema_, Session()).Update(original, values);
    cursor_->StandOn(posted);
    return posted;
}

storage::Row TDBTable::DoPostInsert(std::vector<Value> values) {
    if (ReadOnly) throw EngineError::Make(err::kAccessDenied, tableName_);
    storage::Row posted = RowWriter(Connection(), *schema_, Session()).Insert(std::move(values));
    cursor_->StandOn(posted);
    return posted;
}

std::optional<storage::Row> TDBTable::DoDelete(const storage::Row& row) {
    if (ReadOnly) throw EngineError::Make(err::kAccessDenied, tableName_);
    RowWriter(Connection(), *schema_, Session()).Delete(row);
    return cursor_->NeighbourOf(row);
}

std::optional<storage::Row> TDBTable::DoRefresh(const storage::Row* current) {
    if (current)
        if (auto stored = Connection().ReadRow(*schema_, current->id)) {
            cursor_->StandOn(*stored);
            return stored;
        }
    return cursor_->First();
}

std::optional<storage::Row> TDBTable::DoSeek(const storage::Row& row) {
    auto stored = Connection().ReadRow(*schema_, row.id);
    if (!stored) return std::nullopt;
    cursor_->StandOn(*stored);
    return stored;
}

bool TDBTable::FindKey(const std::vector<Value>& keyValues) {
    CheckBrowseMode();  // also fails on a closed data set
    const auto& order = cursor_->Order();
    std::vector<Value> keys;
    for (size_t i = 0; i < keyValues.size() && i < order.size(); ++i) {
        const auto& column = schema_->columns[order[i]];
        keys.push_back(ToColumnValue(keyValues[i], column.type, column.name));
    }
    auto row = cursor_->Seek(keys);
    if (!row) return false;
    SetCurrent(std::move(row));
    return true;
}

void TDBTable::WithExclusiveUse(
    const std::function<void(storage::Connection&, const std::string&)>& work) {
    if (Active() && !exclusive_) throw EngineError::Make(err::kMustBeExclusive, tableName_);
    auto& connection = Connection();
    auto schema = connection.DescribeTable(tableName_);
    if (!schema) throw EngineError::Make(err::kTableMissing, tableName_);
    if (Active()) {
        work(connection, schema->name);
        return;
    }
    // A closed table is held exclusively for the time of the operation.
    if (!connection.TryUseTable(schema->name, storage::TableUse::Exclusive))
        throw EngineError::Make(err::kTableLocked, tableName_);
    try {
        work(connection, schema->name);
    } catch (...) {
        connection.EndUseTable(schema->name, storage::TableUse::Exclusive);
        throw;
    }
    connection.EndUseTable(schema->name, storage::TableUse::Exclusive);
}

void TDBTable::EmptyTable() {
    WithExclusiveUse([](storage::Connection& c, const std::string& name) { c.EmptyTable(name); });
    if (Active()) SetCurrent(cursor_->First(), DataSetChange::Rows);
}

void TDBTable::DeleteTable() {
    if (Active()) Close();
    WithExclusiveUse([](storage::Connection& c, const std::string& name) { c.DropTable(name); });
}

void TDBTable::RenameTable(const std::string& newName) {
    if (Active()) Close();
    WithExclusiveUse(
        [&](storage::Connection& c, const std::string& name) { c.RenameTable(name, newName); });
    tableName_ = newName;
}

}  // namespace engine
