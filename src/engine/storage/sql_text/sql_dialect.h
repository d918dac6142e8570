// What differs between the SQL of two backends when they write the same
// resolved plan: how a bound value is marked, how the dialect's NULL-aware
// equality is spelt, LIKE, a DATE read as a date-and-time, the order of NULLs
// and the name of the row id column. Everything else of the statement text is
// shared (sql_writer.h, row_sql.h).
#pragma once

#include <cstddef>
#include <string>

#include "engine/common/value.h"

namespace engine::storage::sqltext {

class SqlDialect {
  public:
    virtual ~SqlDialect() = default;

    // The marker of the `number`-th bound value (from 1) holding `value`.
    virtual std::string Placeholder(size_t number, const Value& value) const = 0;
    // " IS " / " IS NOT " in their NULL-aware sense; `againstValue` when the
    // right side is a bound value that is not NULL (an index may serve it).
    virtual std::string Same(bool againstValue) const = 0;
    virtual std::string Different() const = 0;
    // The boolean false, for COALESCE around a condition.
    virtual std::string False() const = 0;
    // A case-sensitive match of `operand` against the bound pattern marker;
    // LikePattern turns the dialect's pattern into the value to bind.
    virtual std::string Like(const std::string& operand, const std::string& pattern) const = 0;
    virtual std::string LikePattern(const std::string& dialectPattern) const = 0;
    virtual std::string DateAsDateTime(const std::string& operand) const = 0;
    // An ORDER BY item in which NULL sorts before every value.
    virtual std::string OrderItem(const std::string& key, bool descending) const = 0;
    virtual std::string RowId() const = 0;
};

}  // namespace engine::storage::sqltext
