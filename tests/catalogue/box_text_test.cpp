// What a bound box keeps: code page 932 bytes counted, cut before the cursor,
// never inside a character; readings as half-width katakana.
#include "catalogue/box_text.h"

#include <gtest/gtest.h>

namespace kashidashi::catalogue {
namespace {

struct FitCase {
    const char16_t* text;
    int cursor, maxBytes;
    const char16_t* kept;
    int keptCursor;
};

TEST(BoxText, FitToBytesKeepsTheColumnsBytes) {
    const FitCase cases[] = {
        {u"あいう", 3, 6, u"あいう", 3},    // fits exactly
        {u"あいう", 3, 5, u"あい", 2},      // a double-byte character is not split
        {u"ｱｲｳｴ", 4, 3, u"ｱｲｳ", 3},         // half-width katakana take one byte each
        {u"abあいc", 4, 5, u"abあc", 3},    // the text before the cursor gives way
        {u"😀😀ab", 4, 3, u"😀ab", 2},         // a character CP932 lacks counts one byte
        {u"あいうえお", 0, 4, u"あい", 0},  // only text after the cursor: its beginning
        {u"abc", 3, 0, u"abc", 3},          // no limit
    };
    for (const FitCase& c : cases) {
        const BoxText kept = FitToBytes({QString::fromUtf16(c.text), c.cursor}, c.maxBytes);
        EXPECT_EQ(kept.text, QString::fromUtf16(c.kept))
            << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(kept.cursor, c.keptCursor) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(BoxText, AReadingIsHalfWidthKatakana) {
    const BoxText reading = AsReading({QStringLiteral("がっこう　ヴァ１漢"), 4});
    EXPECT_EQ(reading.text, QStringLiteral("ｶﾞｯｺｳ ｳﾞｧ1漢"));
    EXPECT_EQ(reading.cursor, 5);  // after ｶﾞｯｺｳ
}

}  // namespace
}  // namespace kashidashi::catalogue
