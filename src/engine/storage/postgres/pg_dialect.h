// PostgreSQL's spelling of the shared statement text: "$n" with a cast to the
// bound value's type, IS [NOT] DISTINCT FROM as the NULL-aware equality ("="
// against a value that is not NULL, so that an index serves it), LIKE with
// its escape character doubled, NULLS FIRST ascending and NULLS LAST
// descending (NULL is the smallest value, as in the local backend), and the
// hidden row id column "kx_rowid". Texts compare in the "C" collation of
// their columns (code point order).
#pragma once

#include "engine/storage/sql_text/sql_dialect.h"

namespace engine::storage::postgres {

inline constexpr const char* kRowIdColumn = "kx_rowid";

class PgDialect : public sqltext::SqlDialect {
  public:
    std::string Placeholder(size_t number, const Value& value) const override;
    std::string Same(bool againstValue) const override {
        return againstValue ? " = " : " IS NOT DISTINCT FROM ";
    }
    std::string Different() const override { return " IS DISTINCT FROM "; }
    std::string False() const override { return "false"; }
    std::string Like(const std::string& operand, const std::string& pattern) const override {
        return "CAST(" + operand + " AS text) LIKE " + pattern;
    }
    std::string LikePattern(const std::string& dialectPattern) const override;
    std::string DateAsDateTime(const std::string& operand) const override {
        return "CAST(" + operand + " AS timestamp)";
    }
    std::string OrderItem(const std::string& key, bool descending) const override {
        return key + (descending ? " DESC NULLS LAST" : " NULLS FIRST");
    }
    std::string RowId() const override { return kRowIdColumn; }
};

const PgDialect& Dialect();

}  // namespace engine::storage::postgres
