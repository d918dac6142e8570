// The byte rules by which a looked-up value becomes a field of the looked-up
// record. Values come in as UTF-8 text and leave as code page 932 bytes,
// counted and cut in bytes, a double-byte character never split.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/lookup_record.h"

namespace kashidashi::catalogue {

// The value in code page 932 with every "," turned into " ".
std::string AnswerValue(std::string_view utf8);

// Title = the first 60 bytes of t (59 when byte 60 starts a double-byte
// character); Subtitle = at most the next 120 bytes from where Title ended,
// one fewer when the 120th would start a double-byte character.
void SplitTitle(const std::string& t, TLookupRecord& r);

// The first run of digits of the half-width price; groups of three after a
// blank (a thousands separator that became a blank) join it.
std::string FirstNumber(const std::string& cp932Price);

// Pages = what stands before the first "p" of the half-width, lower-case
// extent; the "p" and the three bytes after it go, then the first "cm";
// Size = the rest.
void SplitExtent(const std::string& cp932Extent, TLookupRecord& r);

// Author1 before the first "/", Author2 and Author3 the same way from the
// rest, Author4 whatever follows the third "/", further "/" included.
void SplitAuthors(std::string a, TLookupRecord& r);

}  // namespace kashidashi::catalogue
