// One form of a text for searching, so that a word matches however it was
// typed or stored. A pupil types a reading in hiragana, the catalogue keeps it
// in half-width katakana, a title holds full-width letters: all of them meet
// here. Used by every search of books and users (the desk's lists, the
// catalogue and roll, the web catalogue and its index), so that each finds
// the same rows for the same words.
//
// The fold:
// - compatibility forms become their plain ones (NFKC): half-width katakana
//   become full-width ones, a voiced or semi-voiced one as one character
//   (ｶﾞ -> ガ), full-width letters, digits and signs become ASCII, the
//   ideographic space a space; a spacing voiced mark after a kana (カ゛)
//   joins it as the combining one does (ガ);
// - hiragana become katakana (ぁ..ゖ, ゝ, ゞ -> ァ..ヶ, ヽ, ヾ);
// - letters lose their case (Unicode case folding).
// Nothing else changes: kanji, small kana, the long vowel mark and signs stay.
#pragma once

#include <QString>
#include <QStringList>

namespace kashidashi {

// The text in the one form above.
QString FoldForSearch(const QString& text);

// The words of a typed query, each folded: split at spaces (half- or
// full-width, tabs, line ends), empty ones dropped, each word once, in the
// order typed. A query of spaces only has no words.
QStringList SearchWords(const QString& query);

}  // namespace kashidashi
