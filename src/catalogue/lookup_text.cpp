#include "catalogue/lookup_text.h"

#include <fstream>
#include <iterator>

#include "data/isbn.h"
#include "platform/cp932.h"
#include "platform/utf8.h"

namespace kashidashi::catalogue {
namespace {

// Length of the sequence a lead byte starts; 0 for a byte that starts none.
std::size_t SequenceLengthOf(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC0 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF7) return 4;
    return 0;
}

// The code point of the sequence at bytes[pos] of `length` bytes.
char32_t DecodeAt(std::string_view bytes, std::size_t pos, std::size_t length) {
    static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t cp = static_cast<unsigned char>(bytes[pos]) & kLeadMask[length];
    for (std::size_t i = 1; i < length; ++i)
        cp = (cp << 6) | (static_cast<unsigned char>(bytes[pos + i]) & 0x3F);
    return cp;
}

}  // namespace

std::string ReadAnswerFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadAnswerLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string raw{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string out;
    out.reserve(raw.size() + raw.size() / 16 + 2);
    std::size_t start = 0;
    while (start < raw.size()) {
        std::size_t end = raw.find_first_of("\r\n", start);
        if (end == std::string::npos) end = raw.size();
        out.append(raw, start, end - start).append("\r\n");
        start = end + 1;
        if (end + 1 < raw.size() && raw[end] == '\r' && raw[end + 1] == '\n') ++start;
    }
    return out;
}

std::string Utf8ToAnsi(std::string_view bytes) {
    if (bytes.size() < 3) throw Utf8Error();
    std::string utf8;
    for (std::size_t pos = 3; pos < bytes.size() && bytes[pos] != '\0';) {
        const std::size_t length = SequenceLengthOf(static_cast<unsigned char>(bytes[pos]));
        if (length == 0 || pos + length > bytes.size()) throw Utf8Error();
        const char32_t cp = DecodeAt(bytes, pos, length);
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) throw Utf8Error();
        if (cp == 0) break;  // an overlong zero ends the text as a zero byte does
        platform::utf8::Append(utf8, cp);
        pos += length;
    }
    return platform::ToCp932(utf8);
}

std::string ScanValue(std::string& text, std::string_view key) {
    const std::size_t found = text.find(key);
    if (found == std::string::npos) return {};
    text.erase(0, found + key.size());
    const std::size_t quote = text.find('"');
    return quote == std::string::npos ? std::string() : text.substr(0, quote);
}

std::string ScanBlock(std::string& text, std::string_view startKey, std::string_view endMarker) {
    const std::size_t found = text.find(startKey);
    if (found == std::string::npos) return {};
    text.erase(0, found + startKey.size());
    const std::size_t end = text.find(endMarker);
    return end == std::string::npos ? std::string() : text.substr(0, end);
}

bool IsLeadByteAt(std::string_view cp932, std::size_t index) {
    std::size_t pos = 0;
    while (pos < index) {
        const bool lead = platform::IsCp932LeadByte(static_cast<unsigned char>(cp932[pos]));
        pos += lead ? 2 : 1;
    }
    return pos == index && index < cp932.size() &&
           platform::IsCp932LeadByte(static_cast<unsigned char>(cp932[index]));
}

std::string DigitsOnly(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c >= '0' && c <= '9') out += c;
    return out;
}

std::string Isbn13(std::string_view digits) {
    const std::string twelve(digits.substr(0, 12));
    return twelve + Ean13CheckDigit(twelve);
}

}  // namespace kashidashi::catalogue

namespace kashidashi::catalogue {

std::string Isbn10(std::string_view nine) {
    int sum = 0;
    for (int i = 0; i < 9; ++i) sum += (10 - i) * (nine[i] - '0');
    const int c = 11 - sum % 11;
    return std::string(nine.substr(0, 9)) + (c == 10   ? 'X'
                                             : c == 11 ? '0'
                                                       : static_cast<char>('0' + c));
}

}  // namespace kashidashi::catalogue
