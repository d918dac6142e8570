#include "catalogue/answer_values.h"

#include <algorithm>
#include <cctype>

#include "catalogue/lookup_text.h"
#include "platform/cp932.h"
#include "platform/half_width.h"

namespace kashidashi::catalogue {
namespace {

// At most `length` bytes of t from `start`, never ending inside a character.
std::string CutAt(const std::string& t, std::size_t start, std::size_t length) {
    if (start >= t.size()) return {};
    const std::string rest = t.substr(start);
    if (rest.size() <= length) return rest;
    return rest.substr(0, IsLeadByteAt(rest, length - 1) ? length - 1 : length);
}

// The first `needle` that starts on a character of the CP932 text (a trail
// byte that happens to be "p" is no "p").
std::size_t FindCharacters(const std::string& text, std::string_view needle) {
    for (std::size_t pos = 0; pos < text.size();) {
        if (text.compare(pos, needle.size(), needle) == 0) return pos;
        pos += platform::IsCp932LeadByte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
    }
    return std::string::npos;
}

// The first character boundary at or after byte `index`.
std::size_t BoundaryFrom(const std::string& text, std::size_t index) {
    std::size_t pos = 0;
    while (pos < index && pos < text.size())
        pos += platform::IsCp932LeadByte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
    return std::min(pos, text.size());
}

// HW of CP932 text, back in CP932.
std::string HalfWidthBytes(const std::string& cp932) {
    return platform::ToCp932(platform::MapToHalfWidthCut255(platform::FromCp932(cp932)));
}

}  // namespace

std::string AnswerValue(std::string_view utf8) {
    std::string text = platform::ToCp932(utf8);
    std::replace(text.begin(), text.end(), ',', ' ');
    return text;
}

void SplitTitle(const std::string& t, TLookupRecord& r) {
    r.Title = CutAt(t, 0, 60);
    r.Subtitle = CutAt(t, r.Title.size(), 120);
}

std::string FirstNumber(const std::string& cp932Price) {
    const std::string p = HalfWidthBytes(cp932Price);
    std::size_t pos = p.find_first_of("0123456789");
    if (pos == std::string::npos) return {};
    std::string out;
    for (;;) {
        const std::size_t end = std::min(p.find_first_not_of("0123456789", pos), p.size());
        out += p.substr(pos, end - pos);
        const bool group =
            end + 4 <= p.size() && p[end] == ' ' && DigitsOnly(p.substr(end + 1, 3)).size() == 3 &&
            (end + 4 == p.size() || !std::isdigit(static_cast<unsigned char>(p[end + 4])));
        if (!group) return out;
        pos = end + 1;
    }
}

void SplitExtent(const std::string& cp932Extent, TLookupRecord& r) {
    std::string e = platform::MapToHalfWidthCut255(platform::FromCp932(cp932Extent));
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    e = platform::ToCp932(e);
    const std::size_t p = FindCharacters(e, "p");
    if (p != std::string::npos) {
        r.Pages = e.substr(0, p);
        e.erase(0, BoundaryFrom(e, p + 4));
    }
    const std::size_t cm = FindCharacters(e, "cm");
    if (cm != std::string::npos) e.erase(cm, 2);
    r.Size = e;
}

void SplitAuthors(std::string a, TLookupRecord& r) {
    for (std::string* author : {&r.Author1, &r.Author2, &r.Author3}) {
        const std::size_t slash = a.find('/');
        if (slash == std::string::npos) {
            *author = a;
            return;
        }
        *author = a.substr(0, slash);
        a.erase(0, slash + 1);
    }
    r.Author4 = a;
}

}  // namespace kashidashi::catalogue
