#include "platform/half_width.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/cp932.h"

namespace {

using platform::MapToHalfWidthCut255;
using platform::ToHalfWidthText;

struct Case {
    const char* name;
    std::string text;
    std::string expected;
};

TEST(HalfWidth, Table) {
    const Case cases[] = {
        {"ascii unchanged", "ISBN 978-4", "ISBN 978-4"},
        {"empty", "", ""},
        {"full-width digits", "０１２３４５６７８９", "0123456789"},
        {"full-width upper", "ＡＢＣＸＹＺ", "ABCXYZ"},
        {"full-width lower", "ａｂｃｘｙｚ", "abcxyz"},
        {"full-width signs", "！＂＃＄％＆＇（）＊＋，－．／：；＜＝＞？＠［＼］＾＿｀｛｜｝～",
         "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"},
        {"ideographic space", "山田　太郎", "山田 太郎"},
        {"price", "１，２００円", "1,200円"},
        {"pages and size", "２３５ｐ　；　１９ｃｍ", "235p ; 19cm"},
        {"katakana", "アイウエオカキクケコ", "ｱｲｳｴｵｶｷｸｹｺ"},
        {"so", "ソ", "ｿ"},
        {"voiced", "ガギグゲゴザジズゼゾダヂヅデドバビブベボ",
         "ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ"},
        {"semi-voiced", "パピプペポ", "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"},
        {"vu", "ヴ", "ｳﾞ"},
        {"va and vo", "ヷヺ", "ﾜﾞｦﾞ"},
        {"small kana", "ァィゥェォッャュョ", "ｧｨｩｪｫｯｬｭｮ"},
        {"rest of the syllabary",
         "サシスセタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン",
         "ｻｼｽｾﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝ"},
        {"punctuation", "。「」、・ー゛゜", "｡｢｣､･ｰﾞﾟ"},
        {"combining marks", "カ\u3099ハ\u309A", "ｶﾞﾊﾟ"},
        {"reading of a title", "ガッコウ　トショカン", "ｶﾞｯｺｳ ﾄｼｮｶﾝ"},
        {"no half-width form", "ヮヰヱヵヶ", "ヮヰヱヵヶ"},
        {"hiragana and kanji stay", "がっこう図書館", "がっこう図書館"},
        {"yen and overline stay", "￥￣", "￥￣"},
        {"half-width stays", "ｶﾞｯｺｳ", "ｶﾞｯｺｳ"},
        {"emoji stays", "😀Ａ", "😀A"},
        {"malformed bytes stay",
         "\xff"
         "Ａ",
         "\xff"
         "A"},
    };
    for (const auto& c : cases) EXPECT_EQ(ToHalfWidthText(c.text), c.expected) << c.name;
}

TEST(HalfWidth, MapStringWidthEmulation) {
    EXPECT_EQ(MapToHalfWidthCut255("ＩＳＢＮ９７８"), "ISBN978");
    // The text goes through CP932 first: what it cannot hold is "?".
    EXPECT_EQ(MapToHalfWidthCut255("ガ😀"), "ｶﾞ?");
    // The result stops at the first zero byte.
    EXPECT_EQ(MapToHalfWidthCut255(std::string("ab\0cd", 5)), "ab");
    // Cut to 255 CP932 bytes without splitting a double-byte character.
    std::string longText;
    for (int i = 0; i < 200; ++i) longText += "漢";  // stays double-byte
    const std::string cut = MapToHalfWidthCut255(longText);
    EXPECT_EQ(platform::Cp932ByteLength(cut), 254u);
    std::string ascii;
    for (int i = 0; i < 300; ++i) ascii += "Ａ";
    EXPECT_EQ(MapToHalfWidthCut255(ascii), std::string(255, 'A'));
    std::string kana;
    for (int i = 0; i < 200; ++i) kana += "ガ";  // two half-width bytes each
    EXPECT_EQ(platform::Cp932ByteLength(MapToHalfWidthCut255(kana)), 255u);
}

}  // namespace
