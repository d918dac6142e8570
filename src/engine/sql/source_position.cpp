#include "engine/sql/source_position.h"

#include "engine/common/error.h"

namespace engine::sql {

SourcePosition Locate(std::string_view text, size_t offset) {
    SourcePosition pos;
    size_t stop = offset < text.size() ? offset : text.size();
    for (size_t i = 0; i < stop; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
            ++pos.line;
            pos.column = 1;
        } else if (c != '\r' && (c & 0xC0) != 0x80) {
            ++pos.column;  // continuation bytes belong to the character before
        }
    }
    return pos;
}

std::string DescribePosition(std::string_view text, size_t offset) {
    SourcePosition pos = Locate(text, offset);
    return "line " + std::to_string(pos.line) + ", column " + std::to_string(pos.column);
}

std::string Excerpt(std::string_view text) {
    constexpr size_t kShown = 40;
    if (text.size() <= kShown) return std::string(text);
    size_t cut = kShown;
    // Back over at most three continuation bytes: a UTF-8 sequence has four.
    for (int i = 0; i < 3 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++i) --cut;
    return std::string(text.substr(0, cut)) + "...";
}

void ThrowSqlError(std::string_view text, size_t offset, std::string_view what,
                   std::string_view detail) {
    std::string message = std::string(what) + " at " + DescribePosition(text, offset);
    if (!detail.empty()) message += "; " + std::string(detail);
    throw EngineError::Make(err::kSqlError, message);
}

}  // namespace engine::sql
