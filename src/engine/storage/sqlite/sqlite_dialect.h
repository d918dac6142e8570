// SQLite's spelling of the shared statement text: "?" for every bound value,
// IS and IS NOT as the NULL-aware equality, LIKE as a case-sensitive GLOB,
// dates as whole days and date-and-times as milliseconds (type_codec.h), and
// NULL already first in SQLite's order.
#pragma once

#include "engine/storage/sql_text/sql_dialect.h"

namespace engine::storage::sqlite {

class SqliteDialect : public sqltext::SqlDialect {
  public:
    std::string Placeholder(size_t, const Value&) const override { return "?"; }
    std::string Same(bool) const override { return " IS "; }
    std::string Different() const override { return " IS NOT "; }
    std::string False() const override { return "0"; }
    std::string Like(const std::string& operand, const std::string& pattern) const override {
        return operand + " GLOB " + pattern;
    }
    std::string LikePattern(const std::string& dialectPattern) const override;
    std::string DateAsDateTime(const std::string& operand) const override {
        return "(" + operand + " * 86400000)";
    }
    std::string OrderItem(const std::string& key, bool descending) const override {
        return descending ? key + " DESC" : key;
    }
    std::string RowId() const override { return "rowid"; }
};

// The one dialect object the backend writes with.
const SqliteDialect& Dialect();

}  // namespace engine::storage::sqlite
