// The copy of a server database: one snapshot read, one transaction written.
#include <stdexcept>

#include "data/schema.h"
#include "engine/common/names.h"
#include "engine/storage/copy_rows.h"
#include "library/backup/backup_copy.h"
#include "library/backup/backup_manifest.h"

namespace kashidashi::library {
namespace {

using engine::storage::Connection;
using engine::storage::TableSchema;

std::vector<TableSchema> DescribeTablesToCopy(Connection& from) {
    std::vector<TableSchema> tables;
    for (const auto& name : DataTableNames()) {
        auto schema = from.DescribeTable(name);
        if (!schema)
            throw std::runtime_error(from.Location() + " に " + name + " 表がありません。");
        tables.push_back(*schema);
    }
    // The program's own tables go with them (the school's identity...).
    for (const auto& name : from.TableNames()) {
        auto lower = engine::LowerName(name);
        if (lower.rfind("kx_", 0) != 0 || lower == kManifestTable) continue;
        if (auto schema = from.DescribeTable(name)) tables.push_back(*schema);
    }
    return tables;
}

}  // namespace

void CopyServerSnapshot(const engine::storage::ServerAddress& server, const std::string& target,
                        const Progress& progress) {
    auto from = engine::storage::OpenRemote(server);
    from->BeginSnapshot();
    auto tables = DescribeTablesToCopy(*from);
    int64_t total = 0, done = 0;
    for (const auto& table : tables) total += from->Count(table, nullptr);
    auto to = engine::storage::OpenLocal(target);
    to->Begin();
    try {
        for (const auto& table : tables) {
            to->CreateTable(table);
            const int64_t before = done;
            engine::storage::CopyRows(*from, *to, table, [&](int64_t copied) {
                done = before + copied;
                if (progress) progress(done, total);
            });
        }
        to->Commit(true);
    } catch (...) {
        to->Rollback();
        throw;
    }
    from->Rollback();  // the snapshot only read
}

}  // namespace kashidashi::library
