// The copy of a server database: one snapshot read, one transaction written.
#include <stdexcept>

#include "data/schema.h"
#include "library/backup_copy.h"

namespace kashidashi::library {
namespace {

using engine::storage::Connection;
using engine::storage::TableSchema;

constexpr int kBatchRows = 1000;

// The rows of `table` from `from` into `to`, in insertion order, a batch at
// a time; `done` counts them for the progress.
void CopyRows(Connection& from, Connection& to, const TableSchema& table, int64_t& done,
              int64_t total, const Progress& progress) {
    engine::storage::ScanRequest request;
    request.table = &table;
    request.limit = kBatchRows;
    for (;;) {
        auto rows = from.Scan(request);
        for (auto& row : rows) to.InsertRow(table, row.values);
        done += static_cast<int64_t>(rows.size());
        if (progress) progress(done, total);
        if (static_cast<int>(rows.size()) < kBatchRows) return;
        request.after = engine::storage::KeyPosition{{}, rows.back().id};
    }
}

std::vector<TableSchema> DescribeDataTables(Connection& from) {
    std::vector<TableSchema> tables;
    for (const auto& name : DataTableNames()) {
        auto schema = from.DescribeTable(name);
        if (!schema)
            throw std::runtime_error(from.Location() + " に " + name + " 表がありません。");
        tables.push_back(*schema);
    }
    return tables;
}

}  // namespace

void CopyServerSnapshot(const engine::storage::ServerAddress& server, const std::string& target,
                        const Progress& progress) {
    auto from = engine::storage::OpenRemote(server);
    from->BeginSnapshot();
    auto tables = DescribeDataTables(*from);
    int64_t total = 0, done = 0;
    for (const auto& table : tables) total += from->Count(table, nullptr);
    auto to = engine::storage::OpenLocal(target);
    to->Begin();
    try {
        for (const auto& table : tables) {
            to->CreateTable(table);
            CopyRows(*from, *to, table, done, total, progress);
        }
        to->Commit(true);
    } catch (...) {
        to->Rollback();
        throw;
    }
    from->Rollback();  // the snapshot only read
}

}  // namespace kashidashi::library
