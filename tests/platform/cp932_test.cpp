#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/utf8.h"

namespace {

using platform::Cp932ByteLength;
using platform::Cp932Cut;
using platform::Cp932CutOffset;
using platform::FromCp932;
using platform::NormaliseToCp932;
using platform::ToCp932;

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

struct LengthCase {
    const char* name;
    std::string text;
    std::size_t bytes;
};

TEST(Cp932, ByteLengthTable) {
    const LengthCase cases[] = {
        {"empty", "", 0},
        {"ascii", "Book 123", 8},
        {"so", "ソ", 2},
        {"half-width katakana", "ｿ", 1},
        {"half-width word", "ｶﾞｯｺｳ", 5},
        {"japanese", "貸出と返却", 10},
        {"mixed", "C:\\Book\\ソ", 10},
        {"full-width letters", "ＡＢＣ１２３", 12},
        {"ideographic space", "　", 2},
        {"NEC extension", "①", 2},
        {"IBM extension", "髙", 2},
        {"emoji is ?", "😀", 1},
        {"emoji between", "a😀b", 3},
        {"hangul is ?", "한", 1},
        {"accented latin is ?", "é", 1},
        {"yen sign best fit to 0x5C", "¥", 1},
        {"cent sign best fit to 0x8191", "¢", 2},
        {"malformed byte", "\xff", 1},
        {"truncated sequence", "\xe3\x82", 2},
        {"embedded zero", std::string("a\0b", 3), 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp932ByteLength(c.text), c.bytes) << c.name;
    }
}

TEST(Cp932, ByteLengthOfLongMixedText) {
    // Longer than the converter's chunk, with characters straddling the chunk boundaries.
    const std::string unit = "aソ😀ｱ";  // 1 + 2 + 1 + 1
    EXPECT_EQ(Cp932ByteLength(Repeat(unit, 2000)), 2000u * 5);
}

TEST(Cp932, LeadAndTrailBytes) {
    EXPECT_FALSE(platform::IsCp932LeadByte(0x80));
    EXPECT_TRUE(platform::IsCp932LeadByte(0x81));
    EXPECT_TRUE(platform::IsCp932LeadByte(0x83));
    EXPECT_TRUE(platform::IsCp932LeadByte(0x9F));
    EXPECT_FALSE(platform::IsCp932LeadByte(0xA0));
    EXPECT_FALSE(platform::IsCp932LeadByte(0xBF));  // half-width katakana
    EXPECT_FALSE(platform::IsCp932LeadByte(0xDF));
    EXPECT_TRUE(platform::IsCp932LeadByte(0xE0));
    EXPECT_TRUE(platform::IsCp932LeadByte(0xFC));
    EXPECT_FALSE(platform::IsCp932LeadByte(0xFD));
    EXPECT_FALSE(platform::IsCp932LeadByte('\\'));
    EXPECT_TRUE(platform::IsCp932TrailByte('\\'));
    EXPECT_FALSE(platform::IsCp932TrailByte(0x3F));
    EXPECT_FALSE(platform::IsCp932TrailByte(0x7F));
    EXPECT_FALSE(platform::IsCp932TrailByte(0xFD));
}

struct CutCase {
    const char* name;
    std::string text;
    std::size_t maxBytes;
    std::string expected;
};

TEST(Cp932, CutTable) {
    const CutCase cases[] = {
        {"ascii", "abcdef", 3, "abc"},
        {"zero", "abc", 0, ""},
        {"longer limit", "abc", 10, "abc"},
        {"exact", "ソソ", 4, "ソソ"},
        {"middle of a double-byte character", "ソソ", 3, "ソ"},
        {"middle of the first one", "ソ", 1, ""},
        {"ascii then double-byte", "aソ", 2, "a"},
        {"half-width katakana one byte each", "ｱｲｳ", 2, "ｱｲ"},
        {"voiced half-width", "ｶﾞｷﾞ", 3, "ｶﾞｷ"},
        {"emoji counts one", "a😀b", 2, "a😀"},
        {"emoji alone", "😀😀", 1, "😀"},
        {"title 60 with a double-byte at 60", Repeat("a", 59) + "貸出", 60, Repeat("a", 59)},
        {"title 60 ending on a boundary", Repeat("a", 58) + "貸出", 60, Repeat("a", 58) + "貸"},
        {"empty", "", 5, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp932Cut(c.text, c.maxBytes), c.expected) << c.name;
        EXPECT_LE(Cp932ByteLength(Cp932Cut(c.text, c.maxBytes)), c.maxBytes) << c.name;
    }
}

TEST(Cp932, CutAcrossChunks) {
    const std::string text = Repeat("aソ", 1000);  // 3 bytes per unit, 3000 bytes
    for (std::size_t limit : {1023u, 1024u, 1025u, 2047u, 2048u, 2999u, 3000u, 5000u}) {
        const std::string cut = Cp932Cut(text, limit);
        const std::size_t length = Cp932ByteLength(cut);
        EXPECT_LE(length, limit) << limit;
        EXPECT_GE(length + 1, std::min<std::size_t>(limit, 3000)) << limit;  // at most one short
        EXPECT_EQ(text.compare(0, cut.size(), cut), 0);
    }
    EXPECT_EQ(Cp932CutOffset(Repeat("あ", 300), 255), 127u * 3);
}

struct NormaliseCase {
    const char* name;
    std::string text;
    std::string expected;
};

TEST(Cp932, NormaliseTable) {
    const NormaliseCase cases[] = {
        {"ascii stays", "Book 1", "Book 1"},
        {"japanese stays", "貸出と返却", "貸出と返却"},
        {"extensions stay", "①髙Ⅸ", "①髙Ⅸ"},
        {"half-width katakana stays", "ｶﾞｯｺｳ", "ｶﾞｯｺｳ"},
        {"emoji becomes ?", "本😀です", "本?です"},
        {"two emoji", "😀😀", "??"},
        {"hangul becomes ?", "a한b", "a?b"},
        {"malformed byte becomes ?",
         "a\xff"
         "b",
         "a?b"},
        {"wave dash reads back as full-width tilde", "〜", "～"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormaliseToCp932(c.text), c.expected) << c.name;
        EXPECT_TRUE(platform::utf8::IsValid(NormaliseToCp932(c.text))) << c.name;
    }
}

TEST(Cp932, Conversions) {
    EXPECT_EQ(ToCp932("ソ"), "\x83\x5c");
    EXPECT_EQ(ToCp932("ｿ"), "\xbf");
    EXPECT_EQ(ToCp932("a😀b"), "a?b");
    EXPECT_EQ(ToCp932("abc"), "abc");
    EXPECT_EQ(ToCp932("貸出"), "\x91\xdd\x8f\x6f");
    EXPECT_EQ(FromCp932("\x83\x5c"), "ソ");
    EXPECT_EQ(FromCp932("\x91\xdd\x8f\x6f"), "貸出");
    EXPECT_EQ(FromCp932("\xbf"), "ｿ");
    EXPECT_EQ(FromCp932("a\x83"), "a?");      // lead byte at the end
    EXPECT_EQ(FromCp932("\x85\x40z"), "?z");  // unassigned pair is one character
    EXPECT_EQ(FromCp932("\xa0"
                        "b"),
              "?b");  // no character
    const std::string mixed = Repeat("aソｱ貸①", 700);
    EXPECT_EQ(FromCp932(ToCp932(mixed)), mixed);
    EXPECT_EQ(ToCp932(mixed).size(), Cp932ByteLength(mixed));
}

TEST(Cp932, ThreadsHaveTheirOwnConverters) {
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &failures] {
            const std::string text = Repeat("ソ😀a", 50 + t);
            for (int i = 0; i < 500; ++i) {
                if (Cp932ByteLength(text) != static_cast<std::size_t>(4 * (50 + t))) ++failures[t];
                if (NormaliseToCp932(text) != Repeat("ソ?a", 50 + t)) ++failures[t];
            }
        });
    }
    for (auto& thread : threads) thread.join();
    for (int f : failures) EXPECT_EQ(f, 0);
}

}  // namespace
