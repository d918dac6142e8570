// The row side of the SQLite backend: walks in index order, single rows by
// row id, and the writes of the data set layer.
#include "engine/common/error.h"
#include "engine/storage/sqlite/sql_writer.h"
#include "engine/storage/sqlite/sqlite_connection.h"

namespace engine::storage::sqlite {
namespace {

std::string ColumnList(const TableSchema& table) {
    std::string list = "rowid";
    for (const auto& column : table.columns) list += ", " + QuoteName(column.name);
    return list;
}

bool HasNull(const std::vector<Value>& values) {
    for (const auto& v : values)
        if (v.IsNull()) return true;
    return false;
}

// Rows strictly after `from` in the order (keys..., rowid). NULL sorts first.
// Without NULLs in the position a row-value comparison lets SQLite seek the
// index; otherwise the comparison is written out column by column.
std::string AfterCondition(const std::vector<std::string>& keys, const KeyPosition& from,
                           bool backwards, std::vector<Value>& bindings) {
    if (!backwards && !HasNull(from.keys)) {
        std::string left = "(", right = "(";
        for (size_t i = 0; i < keys.size(); ++i) {
            left += keys[i] + ", ";
            right += "?, ";
            bindings.push_back(from.keys[i]);
        }
        bindings.push_back(Value(from.id));
        return left + "rowid) > " + right + "?)";
    }
    // Term i: the keys before i equal, key i beyond; the last term: all keys
    // equal and the row id beyond.
    std::string any = "(";
    for (size_t i = 0; i <= keys.size(); ++i) {
        std::string term;
        for (size_t j = 0; j < i; ++j) {
            term += keys[j] + " IS ? AND ";
            bindings.push_back(from.keys[j]);
        }
        if (i == keys.size()) {
            term += backwards ? "rowid < ?" : "rowid > ?";
            bindings.push_back(Value(from.id));
        } else {
            const Value& v = from.keys[i];
            if (!backwards)
                term += v.IsNull() ? keys[i] + " IS NOT NULL" : keys[i] + " > ?";
            else
                term += v.IsNull() ? "0" : "(" + keys[i] + " < ? OR " + keys[i] + " IS NULL)";
            if (!v.IsNull()) bindings.push_back(v);
        }
        any += (i ? " OR (" : "(") + term + ")";
    }
    return any + ")";
}

// The condition that a row still holds what was read of it: a write through
// it changes nothing when another writer got there first.
std::string StillAsRead(const TableSchema& table, const std::vector<Value>& original,
                        std::vector<Value>& bindings) {
    std::string same;
    for (size_t i = 0; i < table.columns.size(); ++i) {
        same += " AND " + QuoteName(table.columns[i].name) + " IS ?";
        bindings.push_back(original[i]);
    }
    return same;
}

}  // namespace

std::vector<Row> SqliteConnection::Scan(const ScanRequest& request) {
    const TableSchema& table = *request.table;
    std::vector<std::string> keys;
    for (int column : request.orderColumns) keys.push_back(QuoteName(table.columns[column].name));
    SqlWriter writer({&table}, false);
    std::vector<Value> bindings;
    std::vector<std::string> conditions;
    for (size_t i = 0; i < request.equalKeys.size(); ++i) {
        conditions.push_back(keys[i] + " IS ?");
        bindings.push_back(request.equalKeys[i]);
    }
    if (request.after)
        conditions.push_back(AfterCondition(keys, *request.after, request.backwards, bindings));
    if (request.filter) {
        conditions.push_back(writer.Write(*request.filter));
        bindings.insert(bindings.end(), writer.bindings().begin(), writer.bindings().end());
    }
    std::string sql = "SELECT " + ColumnList(table) + " FROM " + QuoteName(table.name);
    for (size_t i = 0; i < conditions.size(); ++i) sql += (i ? " AND " : " WHERE ") + conditions[i];
    const char* direction = request.backwards ? " DESC" : "";
    sql += " ORDER BY ";
    for (const auto& key : keys) sql += key + direction + ", ";
    sql += std::string("rowid") + direction + " LIMIT " + std::to_string(request.limit);
    std::vector<Row> rows;
    NamingTable(table.name, [&] {
        Statement& statement = cache_->Get(sql);
        statement.BindAll(bindings);
        while (statement.Step()) rows.push_back(RowOf(statement, table.columns));
        statement.Reset();
    });
    return rows;
}

int64_t SqliteConnection::Count(const TableSchema& table, const plan::Expr* filter) {
    SqlWriter writer({&table}, false);
    std::string sql = "SELECT count(*) FROM " + QuoteName(table.name);
    if (filter) sql += " WHERE " + writer.Write(*filter);
    return NamingTable(table.name, [&] {
        Statement& statement = cache_->Get(sql);
        statement.BindAll(writer.bindings());
        statement.Step();
        int64_t count = statement.ColumnInteger(0);
        statement.Reset();
        return count;
    });
}

std::optional<Row> SqliteConnection::ReadRow(const TableSchema& table, RowId id) {
    std::string sql =
        "SELECT " + ColumnList(table) + " FROM " + QuoteName(table.name) + " WHERE rowid = ?";
    return NamingTable(table.name, [&] {
        Statement& statement = cache_->Get(sql);
        statement.Bind(1, Value(id));
        std::optional<Row> row;
        if (statement.Step()) row = RowOf(statement, table.columns);
        statement.Reset();
        return row;
    });
}

void SqliteConnection::AssignAutoIncrements(const TableSchema& table, std::vector<Value>& values) {
    for (size_t i = 0; i < table.columns.size(); ++i) {
        if (table.columns[i].type.type != FieldType::AutoInc || !values[i].IsNull()) continue;
        Statement& statement =
            cache_->Get("SELECT COALESCE(MAX(" + QuoteName(table.columns[i].name) +
                        "), 0) + 1 FROM " + QuoteName(table.name));
        statement.Step();
        values[i] = Value(statement.ColumnInteger(0));
        statement.Reset();
    }
}

void SqliteConnection::ThrowWriteError(const TableSchema& table, const EngineError& error) {
    if (error.code() != err::kDuplicateKey) throw error;
    const IndexDef* primary = table.PrimaryIndex();
    throw EngineError::Make(err::kDuplicateKey, primary ? primary->name : "", table.name);
}

RowId SqliteConnection::InsertRow(const TableSchema& table, std::vector<Value>& values) {
    std::string names, marks;
    for (size_t i = 0; i < table.columns.size(); ++i) {
        names += (i ? ", " : "") + QuoteName(table.columns[i].name);
        marks += i ? ", ?" : "?";
    }
    RowId id = 0;
    Atomically(table.name, [&] {
        AssignAutoIncrements(table, values);
        try {
            RunChanges(
                "INSERT INTO " + QuoteName(table.name) + " (" + names + ") VALUES (" + marks + ")",
                values);
        } catch (const EngineError& error) {
            ThrowWriteError(table, error);
        }
        id = sqlite3_last_insert_rowid(db_);
    });
    return id;
}

bool SqliteConnection::UpdateRow(const TableSchema& table, RowId id,
                                 const std::vector<Value>& original,
                                 const std::vector<Value>& values) {
    std::string sets;
    std::vector<Value> bindings;
    for (size_t i = 0; i < table.columns.size(); ++i) {
        if (values[i] == original[i]) continue;
        sets += (sets.empty() ? "" : ", ") + QuoteName(table.columns[i].name) + " = ?";
        bindings.push_back(values[i]);
    }
    if (sets.empty()) return ReadRow(table, id).has_value();
    bindings.push_back(Value(id));
    std::string same = StillAsRead(table, original, bindings);
    int64_t changed = 0;
    Atomically(table.name, [&] {
        try {
            changed = RunChanges(
                "UPDATE " + QuoteName(table.name) + " SET " + sets + " WHERE rowid = ?" + same,
                bindings);
        } catch (const EngineError& error) {
            ThrowWriteError(table, error);
        }
    });
    return changed == 1;
}

bool SqliteConnection::DeleteRow(const TableSchema& table, RowId id,
                                 const std::vector<Value>& original) {
    std::vector<Value> bindings{Value(id)};
    std::string same = StillAsRead(table, original, bindings);
    int64_t changed = 0;
    Atomically(table.name, [&] {
        changed = RunChanges("DELETE FROM " + QuoteName(table.name) + " WHERE rowid = ?" + same,
                             bindings);
    });
    return changed == 1;
}

}  // namespace engine::storage::sqlite
