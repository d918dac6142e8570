#include "library/holdings/own_tables.h"

#include <map>

#include "engine/common/error.h"
#include "engine/storage/own_table.h"

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
    engine::storage::EnsureOwnTable(connection, SchemaOf(name));
}

}  // namespace kashidashi::library::holdings
