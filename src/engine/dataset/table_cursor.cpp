#include "engine/dataset/table_cursor.h"

namespace engine {
namespace {
constexpr int kLargestBatch = 512;
}

storage::ScanRequest TableCursor::Request(int limit) const {
    storage::ScanRequest request;
    request.table = &table_;
    request.orderColumns = order_;
    request.filter = filter_;
    request.limit = limit;
    return request;
}

storage::KeyPosition TableCursor::PositionOf(const storage::Row& row) const {
    storage::KeyPosition position;
    for (int column : order_) position.keys.push_back(row.values.at(column));
    position.id = row.id;
    return position;
}

// The position is kept in place: a walk allocates nothing for it per row.
storage::Row TableCursor::HandOut(size_t at) {
    position_ = at;
    const storage::Row& row = window_[at];
    here_.keys.clear();
    for (int column : order_) here_.keys.push_back(row.values.at(column));
    here_.id = row.id;
    return std::move(window_[at]);
}

std::optional<storage::Row> TableCursor::Take(std::vector<storage::Row> rows) {
    primed_ = false;
    window_ = std::move(rows);
    position_ = 0;
    if (window_.empty()) return std::nullopt;
    return HandOut(0);
}

// First's rows are kept whole until First hands the first one out.
void TableCursor::Prime(std::vector<storage::Row> rows) {
    batch_ = kFirstBatch;
    windowReachesEnd_ = static_cast<int>(rows.size()) < batch_;
    window_ = std::move(rows);
    position_ = 0;
    if (!window_.empty()) here_ = PositionOf(window_.front());
    primed_ = true;
}

std::optional<storage::Row> TableCursor::First() {
    if (primed_) {
        primed_ = false;
        if (window_.empty()) return std::nullopt;
        return HandOut(0);
    }
    batch_ = kFirstBatch;
    auto request = Request(batch_);
    auto rows = connection_.Scan(request);
    windowReachesEnd_ = static_cast<int>(rows.size()) < batch_;
    return Take(std::move(rows));
}

std::optional<storage::Row> TableCursor::Last() {
    auto request = Request(1);
    request.backwards = true;
    windowReachesEnd_ = true;
    return Take(connection_.Scan(request));
}

std::optional<storage::Row> TableCursor::Next() {
    primed_ = false;
    if (window_.empty()) return std::nullopt;
    if (position_ + 1 < window_.size()) return HandOut(position_ + 1);
    if (windowReachesEnd_) return std::nullopt;
    // Each refill doubles the window, so a long walk costs few statements.
    batch_ = std::min(batch_ * 2, kLargestBatch);
    auto request = Request(batch_);
    request.after = here_;
    auto rows = connection_.Scan(request);
    if (rows.empty()) {
        windowReachesEnd_ = true;
        return std::nullopt;
    }
    windowReachesEnd_ = static_cast<int>(rows.size()) < batch_;
    return Take(std::move(rows));
}

std::optional<storage::Row> TableCursor::Prior() {
    if (window_.empty()) return std::nullopt;
    auto request = Request(1);
    request.backwards = true;
    request.after = here_;
    auto rows = connection_.Scan(request);
    if (rows.empty()) return std::nullopt;
    StandOn(rows.front());
    return std::move(rows.front());
}

std::optional<storage::Row> TableCursor::Seek(const std::vector<Value>& keys) {
    auto request = Request(1);
    request.equalKeys = keys;
    auto rows = connection_.Scan(request);
    if (rows.empty()) return std::nullopt;
    StandOn(rows.front());
    return std::move(rows.front());
}

// The window keeps only the row's position: the row itself is never handed out again.
void TableCursor::StandOn(const storage::Row& row) {
    window_.assign(1, storage::Row{});
    position_ = 0;
    here_ = PositionOf(row);
    primed_ = false;
    windowReachesEnd_ = false;
    batch_ = kFirstBatch;
}

std::optional<storage::Row> TableCursor::NeighbourOf(const storage::Row& row) {
    StandOn(row);
    if (auto next = Next()) {
        StandOn(*next);
        return next;
    }
    StandOn(row);
    auto prior = Prior();
    if (!prior) window_.clear();
    return prior;
}

int64_t TableCursor::Count() {
    return connection_.Count(table_, filter_);
}

}  // namespace engine
