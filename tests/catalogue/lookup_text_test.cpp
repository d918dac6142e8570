// The text stages of the lookups: the decoder, the ordered scanning, the
// answer file's lines and the ISBN-13 sent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "catalogue/lookup_text.h"
#include "platform/cp932.h"

namespace catalogue_test {
namespace {

using namespace kashidashi::catalogue;

TEST(Utf8ToAnsiTest, DecodesAfterThreeBytesIntoCodePage932) {
    const struct {
        std::string bytes;
        std::string utf8;  // the expected text, back from CP932
    } cases[] = {
        {"\xEF\xBB\xBF"
         "abc",
         "abc"},
        {"xyzabc", "abc"},  // no mark: three bytes lost
        {"\xEF\xBB\xBF"
         "本の名前",
         "本の名前"},
        {"\xEF\xBB\xBF"
         "ab\0cd",
         "ab"},  // stops at a zero byte
        {std::string("\xEF\xBB\xBF"
                     "ab\0cd",
                     8),
         "ab"},
        {"\xEF\xBB\xBF"
         "\xF0\x9F\x98\x80!",
         "?!"},  // no CP932 character
        {"\xEF\xBB\xBF", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::FromCp932(Utf8ToAnsi(c.bytes)), c.utf8) << c.bytes;
}

TEST(Utf8ToAnsiTest, ContinuationBytesAreNotChecked) {
    // 0xE3 0x41 0x42: the low six bits of each byte make U+3042.
    EXPECT_EQ(Utf8ToAnsi("\xEF\xBB\xBF\xE3\x41\x42x"), platform::ToCp932("あx"));
    EXPECT_NO_THROW(Utf8ToAnsi("\xEF\xBB\xBF\xC3\x41"));
}

TEST(Utf8ToAnsiTest, UnreadableAnswersRaiseUnknownCode) {
    const std::string bad[] = {
        "",
        "ab",                                // shorter than three bytes
        "\xEF\xBB\xBF\x80",                  // a continuation byte as lead
        "\xEF\xBB\xBF\xF8\x80\x80\x80\x80",  // no such lead byte
        "\xEF\xBB\xBF\xFF",
        "\xEF\xBB\xBF"
        "ab\xE3\x81",  // cut off by the end
        "\xEF\xBB\xBF\xF0\x9F",
        "\xEF\xBB\xBF\xED\xA0\x80",      // a surrogate
        "\xEF\xBB\xBF\xF4\x90\x80\x80",  // above U+10FFFF
        "\xEF\xBB\xBF\xF7\xBF\xBF\xBF",
    };
    for (const auto& b : bad) {
        try {
            Utf8ToAnsi(b);
            ADD_FAILURE() << "no error for " << testing::PrintToString(b);
        } catch (const Utf8Error& e) {
            EXPECT_STREQ(e.what(), "UTF-8 Unknown code.");
        }
    }
}

TEST(ScanTest, KeysAreFoundInTheOrderAsked) {
    std::string text = R"({"a":"1","b":"2","c":"3"})";
    EXPECT_EQ(ScanValue(text, R"("b":")"), "2");
    EXPECT_EQ(text, R"(2","c":"3"})");           // the value stays in the text
    EXPECT_EQ(ScanValue(text, R"("a":")"), "");  // stood before: not found
    EXPECT_EQ(text, R"(2","c":"3"})");
    EXPECT_EQ(ScanValue(text, R"("c":")"), "3");
    std::string open = R"("d":"no end)";
    EXPECT_EQ(ScanValue(open, R"("d":")"), "");
    EXPECT_EQ(open, "no end");
    std::string escaped = R"("u":"http:\/\/x\"y")";
    EXPECT_EQ(ScanValue(escaped, R"("u":")"), R"(http:\/\/x\)");
}

TEST(ScanTest, ABlockEndsBeforeItsMarkerAndTheTextLosesOnlyTheKey) {
    std::string text = R"(x"creator":[{"name":"A"}],"dc_creator":["B"],"p":"C")";
    EXPECT_EQ(ScanBlock(text, R"("creator":[{)", R"("dc_creator")"), R"("name":"A"}],)");
    EXPECT_EQ(text, R"("name":"A"}],"dc_creator":["B"],"p":"C")");
    std::string unended = R"("creator":[{"name":"A")";
    EXPECT_EQ(ScanBlock(unended, R"("creator":[{)", "END"), "");
    std::string none = "abc";
    EXPECT_EQ(ScanBlock(none, "zz", "c"), "");
    EXPECT_EQ(none, "abc");
}

TEST(AnswerLinesTest, EveryLineEndsInCrLf) {
    const auto path = std::filesystem::temp_directory_path() / "kx-answer-lines";
    std::ofstream(path, std::ios::binary) << "a\nb\r\nc\rd";
    EXPECT_EQ(ReadAnswerLines(path.string()), "a\r\nb\r\nc\r\nd\r\n");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "";
    EXPECT_EQ(ReadAnswerLines(path.string()), "");
    std::filesystem::remove(path);
    EXPECT_EQ(ReadAnswerLines(path.string()), "");
}

TEST(IsbnTest, TheCheckDigitIsComputedAfresh) {
    EXPECT_EQ(Isbn13("9784834000825"), "9784834000825");
    EXPECT_EQ(Isbn13("9784834000821"), "9784834000825");  // a misread check digit
    EXPECT_EQ(Isbn13("978483400082"), "9784834000825");
    EXPECT_EQ(DigitsOnly("978-4-８34"), "978434");
}

TEST(IsbnTest, ALeadByteIsFoundFromTheStart) {
    const std::string text = platform::ToCp932("aあい");  // a 82 A0 82 A2
    EXPECT_FALSE(IsLeadByteAt(text, 0));
    EXPECT_TRUE(IsLeadByteAt(text, 1));
    EXPECT_FALSE(IsLeadByteAt(text, 2));
    EXPECT_TRUE(IsLeadByteAt(text, 3));
    EXPECT_FALSE(IsLeadByteAt(text, 5));
}

}  // namespace
}  // namespace catalogue_test
