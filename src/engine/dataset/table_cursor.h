// A position in one stored table, in the order of some of its columns (then
// insertion order), seeing only the rows that pass a filter. Rows are fetched
// a window at a time after the current position, never the whole table.
//
// The cursor keeps no statement open between calls: after a write, Reset
// makes it fetch again from the row it stands on.
#pragma once

#include <optional>
#include <vector>

#include "engine/storage/connection.h"

namespace engine {

class TableCursor {
  public:
    TableCursor(storage::Connection& connection, const storage::TableSchema& table,
                std::vector<int> orderColumns, const plan::Expr* filter)
        : connection_(connection),
          table_(table),
          order_(std::move(orderColumns)),
          filter_(filter) {}

    // The request of First's rows, and those rows read elsewhere (with the
    // table's use): the next First returns them without reading again.
    storage::ScanRequest FirstRequest() const { return Request(kFirstBatch); }
    void Prime(std::vector<storage::Row> rows);
    std::optional<storage::Row> First();
    std::optional<storage::Row> Last();
    std::optional<storage::Row> Next();
    std::optional<storage::Row> Prior();
    // The first row whose leading order columns equal `keys`.
    std::optional<storage::Row> Seek(const std::vector<Value>& keys);
    // Stands on `row` (just written or found elsewhere); the next fetch starts after it.
    void StandOn(const storage::Row& row);
    // The row after `row`'s position, or else the one before it (after a delete).
    std::optional<storage::Row> NeighbourOf(const storage::Row& row);
    int64_t Count();
    const std::vector<int>& Order() const { return order_; }

  private:
    static constexpr int kFirstBatch = 16;
    storage::ScanRequest Request(int limit) const;
    storage::KeyPosition PositionOf(const storage::Row& row) const;
    std::optional<storage::Row> Take(std::vector<storage::Row> rows);
    // Hands out the window's row at `at` (moved out: the window never
    // returns a row twice), keeping its position for the next fetch.
    storage::Row HandOut(size_t at);

    storage::Connection& connection_;
    const storage::TableSchema& table_;
    std::vector<int> order_;
    const plan::Expr* filter_;
    std::vector<storage::Row> window_;  // rows after the current one (earlier ones handed out)
    storage::KeyPosition here_;         // the current row's position, while window_ has rows
    size_t position_ = 0;
    bool windowReachesEnd_ = false;
    bool primed_ = false;  // window_ holds First's rows, not yet returned
    int batch_ = kFirstBatch;
};

}  // namespace engine
