// A portable reader's file: its text and its scans.
#include "exchange/scan_file.h"

#include <gtest/gtest.h>

#include "engine/common/dates.h"

namespace exchange_test {
namespace {

using namespace kashidashi::exchange;

TEST(ReaderFile, AFileThatIsNotTextIsRefusedWhole) {
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR0000007\n", 25);
    std::string noise;
    for (int i = 0; i < 256; ++i) noise += static_cast<char>((i * 151 + 7) % 256);
    for (const std::string& bytes : {png, noise, std::string("0000007\n\0\n0000008\n", 18)})
        EXPECT_THROW(DecodeReaderFile(bytes), NotAReaderFile);
    // Text: UTF-8 with its mark, Shift-JIS (「点検」), a DOS end-of-file mark.
    EXPECT_EQ(DecodeReaderFile("\xEF\xBB\xBF"
                               "0000007\r\n"),
              "0000007\r\n");
    EXPECT_EQ(DecodeReaderFile("\x93\x5F\x8C\x9F\t7\n\x1a"), "点検\t7\n\x1a");
}

TEST(ReaderFile, ScansWithTheirLinesAndTimeStamps) {
    const auto scans = ParseScanFile(
        "2026/04/08 09:15:30\t 0001234 \r\n"
        "\n"
        "  1001\n"
        "\t\n"
        "not a date\t1002\n"
        "2026/04/08 09:16:00\tACTION");
    ASSERT_EQ(scans.size(), 4u);
    EXPECT_EQ(scans[0].number, 1);
    EXPECT_EQ(scans[0].scan, "0001234");
    ASSERT_TRUE(scans[0].at.has_value());
    EXPECT_EQ(engine::FormatDateTime(*scans[0].at), "2026/04/08 09:15:30");
    EXPECT_EQ(scans[1].number, 3);
    EXPECT_EQ(scans[1].scan, "1001");
    EXPECT_FALSE(scans[1].at.has_value());
    // A tab after something that is no time stamp belongs to the scan.
    EXPECT_EQ(scans[2].number, 5);
    EXPECT_EQ(scans[2].scan, "not a date\t1002");
    EXPECT_EQ(scans[3].number, 6);
    EXPECT_EQ(scans[3].scan, "ACTION");
}

}  // namespace
}  // namespace exchange_test
