#include "library/holdings/own_tables.h"

#include <map>

#include "engine/common/error.h"

namespace kashidashi::library::holdings {
namespace {

using engine::ColumnType;
using engine::FieldType;
using engine::storage::IndexDef;
using engine::storage::TableSchema;

TableSchema SchemaOf(const std::string& name) {
    const ColumnType integer{FieldType::Integer}, date{FieldType::Date};
    const ColumnType reason{FieldType::String, 100}, nameId{FieldType::String, 6};
    static const std::map<std::string, TableSchema> schemas{
        {kDiscardTable,
         {kDiscardTable,
          {{"BOOK_ID", integer}, {"DISCARDED_ON", date}, {"REASON", reason}, {"RESTORED_ON", date}},
          {IndexDef{"BOOK_ID", {"BOOK_ID"}, false, false}}}},
        {kLeftTable,
         {kLeftTable,
          {{"NAME_ID", nameId}, {"LEFT_ON", date}},
          {IndexDef{"PRIMARY", {"NAME_ID"}, true, true}}}},
    };
    return schemas.at(name);
}

}  // namespace

bool HasOwnTable(engine::storage::Connection& connection, const std::string& name) {
    return connection.DescribeTable(name).has_value();
}

void EnsureOwnTable(engine::storage::Connection& connection, const std::string& name) {
    if (HasOwnTable(connection, name)) return;
    try {
        connection.CreateTable(SchemaOf(name));
    } catch (const engine::EngineError& error) {
        // Another window or command made it meanwhile.
        if (error.code() != engine::err::kTableExists) throw;
    }
}

}  // namespace kashidashi::library::holdings
