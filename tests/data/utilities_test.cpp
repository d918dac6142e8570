// The small utilities: blanks and commas, half width, the wait that keeps
// events flowing, and downloads.
#include "data/utilities.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data_fixture.h"

namespace {

using kashidashi::CommaToBlank;
using kashidashi::MapStringWidth;
using kashidashi::RemoveBlanks;
using kashidashi::ToHalfWidth;

struct TextCase {
    std::string in, out;
};

TEST(Utilities, RemoveBlanks) {
    const TextCase kCases[] = {
        {"山田\u3000太郎 ", "山田太郎"},
        {" a b\u3000\u3000c ", "abc"},
        {"", ""},
        {"\u3000 \u3000", ""},
        {"ソ表", "ソ表"},  // double-byte characters stay whole
    };
    for (const auto& c : kCases) EXPECT_EQ(RemoveBlanks(c.in), c.out) << c.in;
}

TEST(Utilities, CommaToBlank) {
    const TextCase kCases[] = {
        {"夏目,,漱石", "夏目  漱石"}, {",a,", " a "}, {"、，", "、，"}, {"", ""}};
    for (const auto& c : kCases) EXPECT_EQ(CommaToBlank(c.in), c.out) << c.in;
}

TEST(Utilities, ToHalfWidth) {
    const TextCase kCases[] = {
        {"ＡＢＣｘｙｚ０１２３", "ABCxyz0123"},
        {"ガッコウ\u3000トショ", "ｶﾞｯｺｳ ﾄｼｮ"},
        {"漢字とひらがな", "漢字とひらがな"},
        {std::string(300, 'a'), std::string(255, 'a')},
    };
    for (const auto& c : kCases) EXPECT_EQ(ToHalfWidth(c.in), c.out) << c.in;
    // A cut never splits a double-byte character: 128 kanji are 256 bytes.
    std::string kanji;
    for (int i = 0; i < 128; ++i) kanji += "字";
    EXPECT_EQ(ToHalfWidth(kanji), kanji.substr(0, 127 * 3));
}

TEST(Utilities, MapStringWidthWithoutTheHalfWidthFlagOnlyCuts) {
    EXPECT_EQ(MapStringWidth("ＡＢ", 0), "ＡＢ");
    EXPECT_EQ(MapStringWidth(std::string("ab\0cd", 5), 0), "ab");
    EXPECT_EQ(MapStringWidth(std::string(256, 'x'), 0), std::string(255, 'x'));
    EXPECT_EQ(MapStringWidth("ＡＢ", kashidashi::kLcmapHalfWidth), "AB");
}

TEST(Utilities, WaitWithMessagesWaitsTheIntervalAndHandlesPostedEvents) {
    int argc = 1;
    char name[] = "data_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    bool handled = false;
    QMetaObject::invokeMethod(
        &app, [&] { handled = true; }, Qt::QueuedConnection);
    QElapsedTimer clock;
    clock.start();
    kashidashi::WaitWithMessages(60);
    EXPECT_GE(clock.elapsed(), 60);
    EXPECT_TRUE(handled);
}

TEST(Utilities, WaitWithMessagesWithoutAnApplicationStillWaits) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    QElapsedTimer clock;
    clock.start();
    kashidashi::WaitWithMessages(30);
    EXPECT_GE(clock.elapsed(), 30);
}

class DownloadTest : public data_test::DataFixture {};

TEST_F(DownloadTest, StoresTheResourceAndFailsWithoutThrowing) {
    const std::string source = (folder / "source.txt").string();
    std::ofstream(source) << "ISBN 9784003101018";
    const std::string url = "file://" + source;
    const std::string target = (folder / "$$2013").string();
    platform::DownloadOptions withFiles;
    withFiles.allowedSchemes.push_back("file");

    EXPECT_FALSE(kashidashi::DownloadUrlToFile(url, target));  // https only by default
    EXPECT_FALSE(std::filesystem::exists(target));
    ASSERT_TRUE(kashidashi::DownloadUrlToFile(url, target, withFiles));
    std::stringstream content;
    content << std::ifstream(target).rdbuf();
    EXPECT_EQ(content.str(), "ISBN 9784003101018");
    EXPECT_FALSE(
        kashidashi::DownloadUrlToFile(url, (folder / "no" / "such" / "file").string(), withFiles));
    EXPECT_FALSE(kashidashi::DownloadUrlToFile("file://" + (folder / "missing").string(), target,
                                               withFiles));
}

}  // namespace
