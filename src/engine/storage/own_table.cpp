#include "engine/storage/own_table.h"

#include "engine/common/error.h"

namespace engine::storage {

TableSchema EnsureOwnTable(Connection& connection, const TableSchema& schema) {
    if (auto stored = connection.DescribeTable(schema.name)) return *stored;
    try {
        connection.CreateTable(schema);
    } catch (const EngineError& error) {
        if (error.code() != err::kTableExists) throw;  // another program made it meanwhile
    }
    return *connection.DescribeTable(schema.name);
}

}  // namespace engine::storage
