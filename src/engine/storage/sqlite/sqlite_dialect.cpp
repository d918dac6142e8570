#include "engine/storage/sqlite/sqlite_dialect.h"

namespace engine::storage::sqlite {

// "%" any run, "_" one character, as a GLOB pattern.
std::string SqliteDialect::LikePattern(const std::string& dialectPattern) const {
    std::string glob;
    for (char c : dialectPattern) {
        if (c == '%')
            glob += '*';
        else if (c == '_')
            glob += '?';
        else if (c == '*' || c == '?' || c == '[')
            glob += std::string("[") + c + "]";
        else
            glob += c;
    }
    return glob;
}

const SqliteDialect& Dialect() {
    static const SqliteDialect dialect;
    return dialect;
}

}  // namespace engine::storage::sqlite
