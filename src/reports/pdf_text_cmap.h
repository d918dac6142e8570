// ToUnicode character maps of PDF fonts (bfchar and bfrange entries of two
// byte codes), read and written.
#pragma once

#include <map>
#include <string>

namespace kashidashi::reports {

// Glyph code -> the UTF-16 text it stands for.
using ToUnicodeMap = std::map<unsigned, std::u16string>;

// The entries of a map's text; what is not an entry is ignored.
ToUnicodeMap ReadToUnicode(const std::string& cmap);
// A complete map of two-byte codes with these entries, one bfchar each.
std::string WriteToUnicode(const ToUnicodeMap& map);

}  // namespace kashidashi::reports
