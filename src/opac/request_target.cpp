#include "opac/request_target.h"

#include <optional>

#include "platform/utf8.h"

namespace kashidashi::opac {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Percent-decodes `raw`; nothing on a broken escape. `plusIsSpace` for
// query strings and form bodies, where a space is sent as "+".
std::optional<std::string> Decode(std::string_view raw, bool plusIsSpace) {
    std::string out;
    out.reserve(raw.size());
    for (size_t at = 0; at < raw.size(); ++at) {
        char c = raw[at];
        if (c == '%') {
            if (at + 2 >= raw.size()) return std::nullopt;
            int high = HexDigit(raw[at + 1]);
            int low = HexDigit(raw[at + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            out.push_back(static_cast<char>(high * 16 + low));
            at += 2;
        } else if (c == '+' && plusIsSpace) {
            out.push_back(' ');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

Refusal Bad(std::string why) {
    return Refusal{400, std::move(why)};
}

std::variant<std::string, Refusal> ParsePath(std::string_view raw) {
    if (raw.empty() || raw.front() != '/') return Bad("path does not begin with /");
    if (raw.size() > kMaxPathBytes) return Refusal{414, "path too long"};
    std::string path;
    size_t at = 1;
    while (at <= raw.size()) {
        size_t end = raw.find('/', at);
        if (end == std::string_view::npos) end = raw.size();
        std::string_view segment = raw.substr(at, end - at);
        bool last = end == raw.size();
        if (segment.empty()) {
            if (!last) return Bad("empty path segment");
        } else {
            auto decoded = Decode(segment, false);
            if (!decoded) return Bad("broken escape in path");
            if (*decoded == "." || *decoded == "..") return Bad("dot segment in path");
            if (decoded->find('/') != std::string::npos || decoded->find('\\') != std::string::npos)
                return Bad("slash inside a path segment");
            if (!IsCleanUtf8(*decoded)) return Bad("path is not clean UTF-8");
            path += '/';
            path += *decoded;
        }
        at = end + 1;
    }
    if (path.empty()) path = "/";
    return path;
}

}  // namespace

bool IsCleanUtf8(std::string_view text) {
    if (!platform::utf8::IsValid(text)) return false;
    size_t at = 0;
    while (at < text.size()) {
        char32_t c = platform::utf8::Next(text, at);
        if ((c < 0x20 && c != '\t') || c == 0x7f || (c >= 0x80 && c < 0xa0)) return false;
    }
    return true;
}

std::variant<Fields, Refusal> ParseFields(std::string_view raw) {
    Fields fields;
    size_t at = 0;
    while (at < raw.size()) {
        size_t end = raw.find('&', at);
        if (end == std::string_view::npos) end = raw.size();
        std::string_view pair = raw.substr(at, end - at);
        at = end + 1;
        if (pair.empty()) continue;
        if (fields.size() == kMaxFields) return Bad("too many fields");
        size_t equals = pair.find('=');
        auto name = Decode(pair.substr(0, equals), true);
        auto value = Decode(
            equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1), true);
        if (!name || !value) return Bad("broken escape in fields");
        if (name->size() > 64 || value->size() > kMaxFieldBytes)
            return Refusal{414, "field too long"};
        if (!IsCleanUtf8(*name) || !IsCleanUtf8(*value)) return Bad("field is not clean UTF-8");
        fields.emplace_back(std::move(*name), std::move(*value));
    }
    return fields;
}

std::variant<Target, Refusal> ParseTarget(std::string_view raw) {
    if (raw.size() > kMaxTargetBytes) return Refusal{414, "target too long"};
    size_t question = raw.find('?');
    std::string_view rawPath = raw.substr(0, question);
    size_t hash = rawPath.find('#');  // clients do not send fragments; refuse one
    if (hash != std::string_view::npos) return Bad("fragment in target");
    Target target;
    auto path = ParsePath(rawPath);
    if (auto* refusal = std::get_if<Refusal>(&path)) return *refusal;
    target.path = std::move(std::get<std::string>(path));
    if (question != std::string_view::npos) {
        auto fields = ParseFields(raw.substr(question + 1));
        if (auto* refusal = std::get_if<Refusal>(&fields)) return *refusal;
        target.query = std::move(std::get<Fields>(fields));
    }
    return target;
}

std::string CookieValue(std::string_view header, std::string_view name) {
    size_t at = 0;
    while (at < header.size()) {
        size_t end = header.find(';', at);
        if (end == std::string_view::npos) end = header.size();
        std::string_view pair = header.substr(at, end - at);
        at = end + 1;
        while (!pair.empty() && pair.front() == ' ') pair.remove_prefix(1);
        size_t equals = pair.find('=');
        if (equals == std::string_view::npos) continue;
        if (pair.substr(0, equals) == name) return std::string(pair.substr(equals + 1));
    }
    return {};
}

}  // namespace kashidashi::opac
