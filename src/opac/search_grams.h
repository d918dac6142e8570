// The words of the catalogue's index, so that any part of a title, a name or
// a reading is found, one and two characters long too (恐竜, 虫).
//
// A text is folded (search_fold.h), cut into words at spaces, and each word
// loses what is neither letter, digit nor mark ("ハリー・ポッター" and
// "ハリーポッター" are one word). A word of n characters becomes the n pairs
// of its neighbouring characters, the last one paired with an end mark:
// "恐竜図鑑" -> 恐竜 竜図 図鑑 鑑$. Each pair is written as one index term of
// ASCII letters and digits ("q" and six hex digits per character), so the
// index's own tokenizer (FTS5 "ascii") never splits or folds it.
//
// A typed word then matches as:
//   - one character: any term beginning with it (a prefix query);
//   - two or more: its pairs as a phrase, one after another (a part of a
//     stored word, never spanning two words: the end mark sits between).
// Query words only ever become terms of [0-9a-z], so nothing typed can be
// read as the index's query syntax.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace kashidashi::opac {

// The terms of a stored text, separated by spaces.
std::string IndexTerms(const QString& text);

// The FTS5 query for the typed words (SearchWords' output), the words ANDed;
// empty when no word is left after dropping signs.
std::string MatchQuery(const QStringList& words);

}  // namespace kashidashi::opac
