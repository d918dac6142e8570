// The text helpers of the ISBN lookups: the answer file read, UTF-8 decoded
// into code page 932, values picked out of a text by ordered substring
// scanning (the lookups themselves now parse their answers, answer_read.h),
// the ISBN check digits. Everything here works on CP932 bytes
// (std::string), the form in which the lookups count and cut. Pure
// functions, no state.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kashidashi::catalogue {

// "UTF-8 Unknown code.": an answer that is not the UTF-8 the decoder reads.
class Utf8Error : public std::runtime_error {
  public:
    Utf8Error() : std::runtime_error("UTF-8 Unknown code.") {}
};

// The file's bytes as they are; "" for an empty or unreadable file.
std::string ReadAnswerFile(const std::string& path);

// The file's lines, each followed by CR LF (lines end at CR LF, LF or CR);
// "" for an empty or unreadable file.
std::string ReadAnswerLines(const std::string& path);

// Drops the first three bytes (a byte-order mark), decodes UTF-8 up to the
// first zero byte or the end, and returns the text in CP932, a character
// CP932 lacks as "?". Lead bytes 0xC0-0xDF, 0xE0-0xEF and 0xF0-0xF7 start
// sequences of 2, 3 and 4 bytes whose continuation bytes give their low six
// bits unchecked. Throws Utf8Error for a text shorter than three bytes, any
// other lead byte, a sequence cut off by the end, a surrogate and a code
// point above U+10FFFF.
std::string Utf8ToAnsi(std::string_view bytes);

// Finds the first `key` in `text`; when found, deletes everything up to and
// including it and returns the text from there up to the next double quote
// ("" without one), which stays in the text. Without the key: "" and the
// text unchanged.
std::string ScanValue(std::string& text, std::string_view key);
// As ScanValue, but the value ends before the first `endMarker` after the
// key ("" when none follows).
std::string ScanBlock(std::string& text, std::string_view startKey, std::string_view endMarker);

// True when byte `index` (0-based) of the CP932 text starts a double-byte
// character, reading the text from its start.
bool IsLeadByteAt(std::string_view cp932, std::size_t index);

// Only the characters "0" to "9" of the text.
std::string DigitsOnly(std::string_view text);
// d1..d12 of the first twelve characters followed by the EAN-13 check digit;
// the text must hold at least twelve digits.
std::string Isbn13(std::string_view digits);
// Nine digits followed by their ISBN-10 check character: s = 10 x d1 + 9 x
// d2 + ... + 2 x d9, c = 11 - s mod 11, "X" for 10 and "0" for 11.
std::string Isbn10(std::string_view nineDigits);

}  // namespace kashidashi::catalogue
