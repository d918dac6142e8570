// What a bound box of the quick registration keeps of a text typed, pasted
// or filled into it, so that the box shows what its column will store.
//
// A text column holds so many code page 932 bytes (a Japanese character
// takes two, a half-width katakana one). FitToBytes keeps the text within
// them by dropping characters just before the cursor, where typed or pasted
// text has just been put: a keystroke beyond the limit is refused, a paste
// keeps its beginning, and a text set as a whole (cursor at its end) keeps
// its beginning. A double-byte character is never split.
//
// A reading (フリガナ) is stored in half-width katakana: AsReading turns
// hiragana and full-width katakana (as an input method gives them) into it,
// and full-width letters and digits into ASCII; other text stays.
#pragma once

#include <QString>

namespace kashidashi::catalogue {

struct BoxText {
    QString text;
    int cursor = 0;  // in UTF-16 units of text, as QLineEdit counts
};

BoxText FitToBytes(const BoxText& box, int maxBytes);
BoxText AsReading(const BoxText& box);

}  // namespace kashidashi::catalogue
