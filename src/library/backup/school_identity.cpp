#include "library/backup/school_identity.h"

#include <QUuid>

namespace kashidashi::library {
namespace {

using engine::Value;
using engine::storage::ColumnDef;
using engine::storage::TableSchema;

TableSchema SchoolTable() {
    TableSchema table;
    table.name = kSchoolTable;
    table.columns = {{"id", {engine::FieldType::String, 40}},
                     {"name", {engine::FieldType::String, 200}}};
    return table;
}

std::optional<engine::storage::Row> FirstRow(engine::storage::Connection& connection,
                                             const TableSchema& table) {
    engine::storage::ScanRequest request;
    request.table = &table;
    request.limit = 1;
    auto rows = connection.Scan(request);
    if (rows.empty()) return std::nullopt;
    return rows.front();
}

std::string Text(const Value& value) {
    return value.IsText() ? value.Text() : "";
}

}  // namespace

std::optional<SchoolIdentity> ReadSchoolIdentity(engine::storage::Connection& connection) {
    auto table = connection.DescribeTable(kSchoolTable);
    if (!table) return std::nullopt;
    auto row = FirstRow(connection, *table);
    if (!row) return std::nullopt;
    return SchoolIdentity{Text(row->values[0]), Text(row->values[1])};
}

SchoolIdentity EnsureSchoolIdentity(engine::storage::Connection& connection,
                                    const std::string& name) {
    auto known = ReadSchoolIdentity(connection);
    if (known && (name.empty() || known->name == name)) return *known;
    connection.Begin();
    try {
        auto table = connection.DescribeTable(kSchoolTable);
        if (!table) {
            connection.CreateTable(SchoolTable());
            table = connection.DescribeTable(kSchoolTable);
        }
        // Read again inside the transaction: another desk may have made it.
        auto row = FirstRow(connection, *table);
        SchoolIdentity identity;
        if (row) {
            identity = {Text(row->values[0]), Text(row->values[1])};
            if (!name.empty() && identity.name != name) {
                auto values = row->values;
                values[1] = Value(name);
                connection.UpdateRow(*table, row->id, row->values, values);
                identity.name = name;
            }
        } else {
            identity = {QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString(), name};
            std::vector<Value> values{Value(identity.id), Value(identity.name)};
            connection.InsertRow(*table, values);
        }
        connection.Commit(true);
        return identity;
    } catch (...) {
        if (connection.InTransaction()) connection.Rollback();
        throw;
    }
}

}  // namespace kashidashi::library
