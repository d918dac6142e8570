// Code page 932: the one module that owns its rules.
//
// Text inside the program is UTF-8 (std::string). Code page 932 (Shift-JIS as Windows has it,
// with the NEC and IBM extensions; the C library's iconv encoding "CP932") is the semantic code
// page of all stored text: column sizes and every cut of a stored text count CP932 bytes,
// and a cut never splits a double-byte character. Nothing outside this module counts bytes.
//
// Rules shared by every function here:
// - ASCII and half-width katakana (U+FF61..U+FF9F) take one byte; Japanese characters and the
//   other characters CP932 holds take two.
// - A character that CP932 cannot hold (an emoji, most non-Japanese scripts) counts as one byte
//   and is written as "?", as it is when stored.
// - Characters that the converter maps by best fit, as Windows' WideCharToMultiByte does
//   (U+00A5 YEN SIGN -> 0x5C, U+203E OVERLINE -> 0x7E, U+2212 MINUS SIGN -> 0x817C,
//   U+301C WAVE DASH -> 0x8160, ...), count and convert as they are mapped.
// - A byte that is not part of well-formed UTF-8 counts as one character that CP932 cannot
//   hold (one byte, "?").
//
// Cost: pure ASCII text never reaches iconv; other text goes through one iconv descriptor per
// direction and thread, opened on first use and kept for the life of the thread.
// The functions throw std::runtime_error only if the C library has no "CP932" converter.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Number of bytes the text takes in CP932.
std::size_t Cp932ByteLength(std::string_view utf8);

// True for a byte that starts a CP932 double-byte character (0x81..0x9F, 0xE0..0xFC).
bool IsCp932LeadByte(unsigned char byte) noexcept;

// True for a byte that can be the second byte of a CP932 double-byte character
// (0x40..0x7E, 0x80..0xFC). Note that 0x5C ("\") is one: "ソ" is 0x83 0x5C.
bool IsCp932TrailByte(unsigned char byte) noexcept;

// Offset in the UTF-8 text of the longest prefix whose CP932 form takes at most maxBytes
// bytes, ending on a character boundary (a double-byte character that would straddle the
// limit is left out whole).
std::size_t Cp932CutOffset(std::string_view utf8, std::size_t maxBytes);

// The text cut to at most maxBytes CP932 bytes, never splitting a double-byte character.
// The result is the UTF-8 prefix itself (characters CP932 cannot hold are kept, and counted
// as one byte each); apply NormaliseToCp932 as well to get the stored form.
std::string Cp932Cut(std::string_view utf8, std::size_t maxBytes);

// The text as CP932 stores it, back in UTF-8: each character CP932 cannot hold becomes "?",
// best-fit characters become what CP932 reads back (U+301C -> U+FF5E, U+00A5 -> "\").
// Pure ASCII is returned unchanged.
std::string NormaliseToCp932(std::string_view utf8);

// The CP932 bytes of the text.
std::string ToCp932(std::string_view utf8);

// UTF-8 text from CP932 bytes. A byte or byte pair that is no CP932 character becomes "?"
// (a lead byte with a valid second byte is taken as one character; a lead byte at the end of
// the text as one).
std::string FromCp932(std::string_view cp932);

}  // namespace platform
