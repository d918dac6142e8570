#include "reports/pdf_text_cmap.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

namespace kashidashi::reports {
namespace {

// The tokens of a map that matter here: hex strings, "[" and "]", and the
// words that open and close blocks of entries.
struct Token {
    enum Kind { Hex, Open, Close, Word } kind;
    std::string text;  // Hex: the digits; Word: the word
};

std::vector<Token> Tokens(const std::string& cmap) {
    std::vector<Token> tokens;
    for (size_t i = 0; i < cmap.size();) {
        const char c = cmap[i];
        if (c == '<') {
            const size_t end = cmap.find('>', i);
            if (end == std::string::npos) break;
            tokens.push_back({Token::Hex, cmap.substr(i + 1, end - i - 1)});
            i = end + 1;
        } else if (c == '[' || c == ']') {
            tokens.push_back({c == '[' ? Token::Open : Token::Close, {}});
            ++i;
        } else if (std::isalpha(static_cast<unsigned char>(c))) {
            size_t end = i;
            while (end < cmap.size() && std::isalpha(static_cast<unsigned char>(cmap[end]))) ++end;
            tokens.push_back({Token::Word, cmap.substr(i, end - i)});
            i = end;
        } else {
            ++i;
        }
    }
    return tokens;
}

unsigned Code(const std::string& hex) {
    return static_cast<unsigned>(std::stoul(hex.empty() ? "0" : hex, nullptr, 16));
}

// UTF-16 text from hex digits, four per code unit.
std::u16string Utf16(const std::string& hex) {
    std::u16string text;
    for (size_t i = 0; i + 4 <= hex.size(); i += 4)
        text += static_cast<char16_t>(std::stoul(hex.substr(i, 4), nullptr, 16));
    return text;
}

std::string Hex4(unsigned value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X", value & 0xFFFF);
    return buffer;
}

// One bfrange entry from position i: "<lo> <hi> <first>" (consecutive texts)
// or "<lo> <hi> [<text> ...]"; returns the position after it.
size_t ReadRange(const std::vector<Token>& t, size_t i, ToUnicodeMap& map) {
    const unsigned lo = Code(t[i].text), hi = Code(t[i + 1].text);
    if (t[i + 2].kind == Token::Hex) {
        std::u16string text = Utf16(t[i + 2].text);
        for (unsigned code = lo; code <= hi && !text.empty(); ++code, ++text.back())
            map[code] = text;
        return i + 3;
    }
    size_t j = i + 3;
    for (unsigned code = lo; j < t.size() && t[j].kind == Token::Hex; ++j, ++code)
        if (code <= hi) map[code] = Utf16(t[j].text);
    return j + 1;  // past "]"
}

}  // namespace

ToUnicodeMap ReadToUnicode(const std::string& cmap) {
    ToUnicodeMap map;
    const std::vector<Token> t = Tokens(cmap);
    enum { None, Chars, Ranges } block = None;
    for (size_t i = 0; i < t.size();) {
        if (t[i].kind == Token::Word) {
            block = t[i].text == "beginbfchar"    ? Chars
                    : t[i].text == "beginbfrange" ? Ranges
                                                  : None;
            ++i;
        } else if (block == Chars && i + 1 < t.size() && t[i + 1].kind == Token::Hex) {
            map[Code(t[i].text)] = Utf16(t[i + 1].text);
            i += 2;
        } else if (block == Ranges && i + 2 < t.size() && t[i + 1].kind == Token::Hex) {
            i = ReadRange(t, i, map);
        } else {
            ++i;
        }
    }
    return map;
}

std::string WriteToUnicode(const ToUnicodeMap& map) {
    std::string out =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    // A block holds at most 100 entries.
    auto entry = map.begin();
    for (size_t left = map.size(); left > 0;) {
        const size_t count = std::min<size_t>(left, 100);
        out += std::to_string(count) + " beginbfchar\n";
        for (size_t n = 0; n < count; ++n, ++entry) {
            out += "<" + Hex4(entry->first) + "> <";
            for (char16_t unit : entry->second) out += Hex4(unit);
            out += ">\n";
        }
        out += "endbfchar\n";
        left -= count;
    }
    return out + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

}  // namespace kashidashi::reports
