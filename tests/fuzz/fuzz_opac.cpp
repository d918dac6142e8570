// libFuzzer target for what the web catalogue makes of a client's bytes: the
// request target (path and query), a form body, a Cookie header, and the
// search words made into the index's query and terms.
//
// What passes the parser must be clean: a path that begins with "/", has no
// empty, "." or ".." segment and is clean UTF-8; fields within their limits
// and clean; a refusal is 400 or 414. The index's query holds only its own
// terms (q and hex digits), quotes, "*", blanks and AND, whatever was typed.
// Anything else (an exception, a crash, a sanitizer report) is a finding.
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "data/search_fold.h"
#include "opac/request_target.h"
#include "opac/search_grams.h"

namespace {

using namespace kashidashi::opac;

void Require(bool condition) {
    if (!condition) std::abort();
}

void CheckTarget(std::string_view raw) {
    auto result = ParseTarget(raw);
    if (auto* refusal = std::get_if<Refusal>(&result)) {
        Require(refusal->status == 400 || refusal->status == 414);
        return;
    }
    const Target& target = std::get<Target>(result);
    Require(!target.path.empty() && target.path[0] == '/');
    Require(IsCleanUtf8(target.path));
    Require(target.path.find("//") == std::string::npos);
    Require(target.path.find("/../") == std::string::npos && target.path.find("/./") == std::string::npos);
    Require(target.path.size() < 3 || target.path.substr(target.path.size() - 3) != "/..");
    Require(target.query.size() <= kMaxFields);
    for (const auto& [name, value] : target.query) {
        Require(IsCleanUtf8(name) && IsCleanUtf8(value));
        Require(value.size() <= kMaxFieldBytes);
    }
}

void CheckWords(const std::string& text) {
    QString typed = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    std::string query = MatchQuery(kashidashi::SearchWords(typed));
    for (char c : query)
        Require((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || c == 'q' || c == '"' ||
                c == '*' || c == ' ' || c == 'A' || c == 'N' || c == 'D');
    for (char c : IndexTerms(typed))
        Require((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || c == 'q' || c == ' ');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckTarget(input);
    (void)ParseFields(input);
    (void)CookieValue(input, "kx_furigana");
    if (size <= 4096) CheckWords(std::string(input));
    return 0;
}
