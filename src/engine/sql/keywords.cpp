#include "engine/sql/keywords.h"

#include <algorithm>
#include <iterator>

#include "engine/common/names.h"

namespace engine::sql {

bool IsReservedWord(std::string_view word) {
    static constexpr std::string_view kReserved[] = {
        "ALTER", "AND",      "AS",     "ASC",   "BY",     "CREATE", "CROSS", "DELETE",
        "DESC",  "DISTINCT", "DROP",   "FALSE", "FROM",   "FULL",   "GROUP", "HAVING",
        "INDEX", "INNER",    "INSERT", "INTO",  "IS",     "JOIN",   "LEFT",  "LIKE",
        "NOT",   "NULL",     "ON",     "OR",    "ORDER",  "OUTER",  "RIGHT", "SELECT",
        "SET",   "TABLE",    "TRUE",   "UNION", "UPDATE", "VALUES", "WHERE",
    };
    return std::any_of(std::begin(kReserved), std::end(kReserved),
                       [&](std::string_view r) { return SameName(r, word); });
}

bool IsKeyword(const Token& token, std::string_view keyword) {
    return token.kind == TokenKind::kName && SameName(token.text, keyword);
}

}  // namespace engine::sql
