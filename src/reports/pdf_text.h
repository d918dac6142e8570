// The text of a written PDF as the characters the report drew.
//
// Qt's PDF engine tells a reader which character each glyph of an embedded
// font stands for (the font's ToUnicode map) by the lowest code point that
// the font maps to that glyph. Fonts that draw a character and a lookalike
// with one glyph (Noto Sans CJK: 面 and the Kangxi radical ⾯ U+2FAF, 行 and
// ⾏ U+2F8F, ・ and the hyphenation point ‧ U+2027, and many more kanji)
// then make the copied or searched text the lookalike, though the page looks
// right.
//
// MendPdfText rewrites the ToUnicode map of each report font in the file at
// `path` (written from `report`) so that a glyph reads as the character the
// report drew with it; glyphs no drawn character has keep their entry. The
// file is replaced only when an entry changed (written beside it, then
// renamed). False when the file cannot be read or written.
#pragma once

#include <QString>

#include "reports/page_model.h"

namespace kashidashi::reports {

bool MendPdfText(const QString& path, const PreparedReport& report);

}  // namespace kashidashi::reports
