// The stock check's own tables (inventory_records.h).
#include "library/inventory/inventory_records.h"

#include <map>

#include "engine/common/error.h"
#include "engine/storage/own_table.h"

namespace kashidashi::library {
namespace {

using engine::ColumnType;
using engine::FieldType;
using engine::storage::IndexDef;
using engine::storage::TableSchema;

TableSchema SchemaOf(const std::string& name) {
    const ColumnType integer{FieldType::Integer}, date{FieldType::Date};
    const ColumnType day{FieldType::String, 10}, digest{FieldType::String, 64};
    static const std::map<std::string, TableSchema> schemas{
        {kFilesTable,
         {kFilesTable,
          {{"DIGEST", digest}, {"STARTED", day}, {"DONE", integer}, {"TOTAL", integer}},
          {IndexDef{"PRIMARY", {"DIGEST", "STARTED"}, true, true}}}},
        {kLostTable,
         {kLostTable,
          {{"BOOK_ID", integer}, {"LOST_ON", date}, {"LAST_ON", date}, {"MISSES", integer}},
          {IndexDef{"PRIMARY", {"BOOK_ID"}, true, true}}}},
        {kWriteOffTable,
         {kWriteOffTable,
          {{"STARTED", day}, {"BOOK_ID", integer}, {"WRITTEN_ON", date}, {"RESTORED_ON", date}},
          {IndexDef{"PRIMARY", {"STARTED", "BOOK_ID"}, true, true}}}},
        {kScopeTable,
         {kScopeTable,
          {{"ID", integer}, {"HKN_ID", integer}, {"NDC_FROM", integer}, {"NDC_TO", integer}},
          {IndexDef{"PRIMARY", {"ID"}, true, true}}}},
    };
    return schemas.at(name);
}

}  // namespace

bool HasInventoryTable(engine::storage::Connection& connection, const std::string& name) {
    return connection.DescribeTable(name).has_value();
}

void EnsureInventoryTable(engine::storage::Connection& connection, const std::string& name) {
    engine::storage::EnsureOwnTable(connection, SchemaOf(name));
}

}  // namespace kashidashi::library
