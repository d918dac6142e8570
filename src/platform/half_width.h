// Mapping to half width (LCMapStringA with LCMAP_HALFWIDTH on a Japanese system), with our
// own table:
// - full-width ASCII U+FF01..U+FF5E (letters, digits, signs, including "＼" and "～") and the
//   ideographic space U+3000 -> ASCII;
// - full-width katakana -> half-width katakana, a voiced or semi-voiced one as two characters
//   (ガ -> ｶﾞ, パ -> ﾊﾟ, ヴ -> ｳﾞ, ヷ -> ﾜﾞ, ヺ -> ｦﾞ); small ァィゥェォャュョッ -> ｧｨｩｪｫｬｭｮｯ;
// - the Japanese punctuation that has half-width forms: 。「」、・ー゛゜ -> ｡｢｣､･ｰﾞﾟ, and the
//   combining marks U+3099, U+309A -> ﾞ, ﾟ.
// Everything else stays as it is: hiragana, kanji, ヮヰヱヵヶヸヹ (no half-width form),
// ￥ ￣ ￠ ￡ ￢ (their half-width forms are not CP932 characters of their own), and bytes that
// are not well-formed UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The text with the mapping above.
std::string ToHalfWidthText(std::string_view utf8);

// MapStringWidth(text, LCMAP_HALFWIDTH) as the desk always used it: the text as CP932
// holds it (NormaliseToCp932), cut at its first zero byte, mapped as above, then cut to 255
// CP932 bytes (the original's 256-byte buffer), never splitting a double-byte character.
std::string MapToHalfWidthCut255(std::string_view utf8);

}  // namespace platform
