// The fixed texts of the pages are written with their readings, each kanji
// word as {漢字|よみ}: "{本|ほん}をさがす". In ふりがなモード a text shows its
// readings as ruby over the words (<ruby>本<rt>ほん</rt></ruby>をさがす);
// otherwise the plain text. Every fixed text is written so, and a test reads
// them all: a kanji outside the braces is a text without its reading.
#pragma once

#include <string>
#include <string_view>

#include "opac/html.h"

namespace kashidashi::opac {

Html Say(std::string_view annotated, bool furigana);

// The text without readings, for <title> and attribute values.
std::string Plain(std::string_view annotated);

// A text where markup cannot stand (an <option>, an attribute): in
// ふりがなモード the readings in place of their words ("ぶんるい"), otherwise
// the plain text.
std::string Spoken(std::string_view annotated, bool furigana);

// A stored text (a title) with its stored reading over it in ふりがなモード
// (the reading in hiragana); without a reading, or otherwise, the text alone.
Html WithReading(const std::string& text, const std::string& reading, bool furigana);

// A reading as young pupils read it: katakana, half-width ones too, become
// hiragana.
std::string ToHiragana(const std::string& reading);

}  // namespace kashidashi::opac
