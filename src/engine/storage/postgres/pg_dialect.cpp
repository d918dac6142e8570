#include "engine/storage/postgres/pg_dialect.h"

namespace engine::storage::postgres {
namespace {

// The server type a bound value is cast to; nothing for NULL, whose type the
// server takes from where it stands.
const char* CastOf(const Value& value) {
    switch (value.storage().index()) {
        case 1:
            return "::bigint";
        case 2:
            return "::float8";
        case 3:
            return "::boolean";
        case 4:
            return "::date";
        case 5:
            return "::timestamp";
        case 6:
            return "::text";
        default:
            return "";
    }
}

}  // namespace

std::string PgDialect::Placeholder(size_t number, const Value& value) const {
    return "$" + std::to_string(number) + CastOf(value);
}

// "%" and "_" mean the same in both; a backslash is the server's escape.
std::string PgDialect::LikePattern(const std::string& dialectPattern) const {
    std::string pattern;
    for (char c : dialectPattern) {
        if (c == '\\') pattern += '\\';
        pattern += c;
    }
    return pattern;
}

const PgDialect& Dialect() {
    static const PgDialect dialect;
    return dialect;
}

}  // namespace engine::storage::postgres
