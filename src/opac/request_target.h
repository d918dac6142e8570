// The parts of a request line's target (path and query) and of a form body,
// read from the raw bytes a client sent, before anything else looks at them.
// Every text that comes out is percent-decoded, valid UTF-8 without control
// characters, and within the limits below; anything else is refused with
// the HTTP status to answer (400, or 414 for a target that is too long).
//
//   /book/123?q=%E6%81%90%E7%AB%9C&page=2  ->  path "/book/123",
//                                              fields q="恐竜", page="2"
//
// A path never holds "." or ".." segments, empty segments (other than a
// trailing slash, which is dropped) or an encoded slash: "/a/../b",
// "/a//b" and "/a%2Fb" are refused rather than guessed at.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace kashidashi::opac {

inline constexpr size_t kMaxTargetBytes = 4096;  // the whole target, raw
inline constexpr size_t kMaxPathBytes = 512;     // the path, raw
inline constexpr size_t kMaxFieldBytes = 1024;   // one decoded value
inline constexpr size_t kMaxFields = 32;         // fields of a query or form

using Fields = std::vector<std::pair<std::string, std::string>>;

struct Target {
    std::string path;  // decoded, begins with "/"
    Fields query;      // in the order sent
};

struct Refusal {
    int status = 400;  // 400 or 414
    std::string why;   // for the log, never shown with the client's text
};

std::variant<Target, Refusal> ParseTarget(std::string_view raw);

// A query string or an application/x-www-form-urlencoded body: "+" is a
// space, "%XX" a byte.
std::variant<Fields, Refusal> ParseFields(std::string_view raw);

// The value of one cookie from a Cookie header ("a=1; b=2"): nothing when
// absent. Values are taken as they stand (this program's cookies are plain
// ASCII).
std::string CookieValue(std::string_view header, std::string_view name);

// Whether `text` is UTF-8 with no control characters (tab excepted) and no
// code points beyond U+10FFFF or surrogates.
bool IsCleanUtf8(std::string_view text);

}  // namespace kashidashi::opac
