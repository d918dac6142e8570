#include "engine/storage/copy_rows.h"

namespace engine::storage {
namespace {

// Rows held in memory at once: enough to keep the statements few, few
// enough for a table of millions.
constexpr int kBatchRows = 1000;

}  // namespace

int64_t CopyRows(Connection& from, Connection& to, const TableSchema& table,
                 const std::function<void(int64_t copied)>& copied) {
    ScanRequest request;
    request.table = &table;
    request.limit = kBatchRows;
    int64_t count = 0;
    for (;;) {
        auto rows = from.Scan(request);
        for (auto& row : rows) to.InsertRow(table, row.values);
        count += static_cast<int64_t>(rows.size());
        if (copied) copied(count);
        if (static_cast<int>(rows.size()) < kBatchRows) return count;
        request.after = KeyPosition{{}, rows.back().id};
    }
}

}  // namespace engine::storage
