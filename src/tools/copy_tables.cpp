#include "tools/copy_tables.h"

#include "data/schema.h"
#include "engine/storage/connection.h"
#include "engine/storage/copy_rows.h"

namespace kashidashi::admin {
namespace {

using engine::storage::Connection;
using engine::storage::TableSchema;
using engine::storage::TableUse;

// Holds every source table in exclusive use, so that no desk writes to it
// while it is copied; released when the copy ends.
class SourceHold {
  public:
    explicit SourceHold(Connection& source) : source_(source) {}
    ~SourceHold() {
        for (const auto& name : held_) source_.EndUseTable(name, TableUse::Exclusive);
    }
    void Hold(const std::string& name) {
        if (!source_.TryUseTable(name, TableUse::Exclusive))
            throw AdminError(name +
                             " 表を他の端末が使っています。すべての端末を終了してから"
                             "コピーしてください。");
        held_.push_back(name);
    }

  private:
    Connection& source_;
    std::vector<std::string> held_;
};

CopiedTable CopyTable(Connection& from, Connection& to, const TableSchema& table) {
    to.CreateTable(table);
    CopiedTable copied{table.name, engine::storage::CopyRows(from, to, table)};
    int64_t expected = from.Count(table, nullptr);
    int64_t written = to.Count(table, nullptr);
    if (copied.rows != expected || written != expected)
        throw AdminError(table.name + " 表の行数が合いません（コピー元 " +
                         std::to_string(expected) + " 行、コピー先 " + std::to_string(written) +
                         " 行）。何もコピーしませんでした。");
    return copied;
}

}  // namespace

std::vector<CopiedTable> CopyDataTables(DataFolder& source, DataFolder& destination) {
    auto existing = destination.ExistingDataTables();
    if (!existing.empty())
        throw AdminError("コピー先「" + destination.Folder() + "」にはすでにデータ表（" +
                         existing.front() + " など）があります。何もコピーしませんでした。");
    Connection& from = source.Database().Connection();
    SourceHold hold(from);
    std::vector<TableSchema> tables;
    for (const auto& name : DataTableNames()) {
        source.RequireTable(name);
        hold.Hold(name);
        tables.push_back(*from.DescribeTable(name));
    }
    std::vector<CopiedTable> copied;
    InOneTransaction(destination, [&] {
        for (const auto& table : tables)
            copied.push_back(CopyTable(from, destination.Database().Connection(), table));
    });
    return copied;
}

}  // namespace kashidashi::admin
