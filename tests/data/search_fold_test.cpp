// The one search form: what a pupil types and what the catalogue stores meet.
#include <gtest/gtest.h>

#include "data/search_fold.h"

namespace kashidashi {
namespace {

struct SameForm {
    const char* typed;
    const char* stored;
};

// Each pair must fold to the same text.
const SameForm kSameForms[] = {
    {"きょうりゅう", "キョウリュウ"},              // hiragana and katakana
    {"きょうりゅう", "ｷｮｳﾘｭｳ"},                    // hiragana and half-width katakana
    {"がっこう", "ｶﾞｯｺｳ"},                         // a voiced half-width kana is one character
    {"ぱん", "ﾊﾟﾝ"},                               // semi-voiced
    {"ゔぁいおりん", "ｳﾞｧｲｵﾘﾝ"},                   // ヴ from both sides
    {"ガ", "カ゛"},                                // a spacing voiced mark joins its kana
    {"ハリー・ポッター", "ﾊﾘｰ･ﾎﾟｯﾀｰ"},             // long vowel mark and middle dot
    {"Harry Potter", "ＨＡＲＲＹ　ＰＯＴＴＥＲ"},  // full-width letters, space, case
    {"913", "９１３"},                             // full-width digits
    {"いすゞ", "イスヾ"},                          // the voiced iteration mark
};

TEST(SearchFold, WhatIsTypedMeetsWhatIsStored) {
    for (const auto& c : kSameForms) {
        EXPECT_EQ(FoldForSearch(QString::fromUtf8(c.typed)),
                  FoldForSearch(QString::fromUtf8(c.stored)))
            << c.typed << " / " << c.stored;
    }
}

// What differs in meaning stays apart: kanji, small and large kana, voiced
// and plain kana.
TEST(SearchFold, WhatDiffersStaysApart) {
    const SameForm apart[] = {
        {"恐竜", "キョウリュウ"}, {"キヨウ", "キョウ"}, {"カ", "ガ"}, {"ハ", "パ"}, {"宇宙", "宇"}};
    for (const auto& c : apart) {
        EXPECT_NE(FoldForSearch(QString::fromUtf8(c.typed)),
                  FoldForSearch(QString::fromUtf8(c.stored)))
            << c.typed << " / " << c.stored;
    }
    EXPECT_EQ(FoldForSearch(QStringLiteral("恐竜図鑑")), QStringLiteral("恐竜図鑑"));
}

TEST(SearchFold, TheWordsOfAQuery) {
    EXPECT_EQ(SearchWords(QStringLiteral("　きょうりゅう  ずかん\tｷｮｳﾘｭｳ ")),
              (QStringList{QStringLiteral("キョウリュウ"), QStringLiteral("ズカン")}));
    EXPECT_EQ(SearchWords(QStringLiteral("恐竜　宇宙")),
              (QStringList{QStringLiteral("恐竜"), QStringLiteral("宇宙")}));
    EXPECT_TRUE(SearchWords(QStringLiteral(" 　\t")).isEmpty());
    EXPECT_TRUE(SearchWords(QString()).isEmpty());
}

}  // namespace
}  // namespace kashidashi
