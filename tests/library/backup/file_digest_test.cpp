// The streamed pass over a backup file finds its seal and sums it the same
// whatever the size of the pieces it reads, a seal across two pieces too.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <filesystem>
#include <fstream>

#include "library/backup/file_digest.h"

namespace kashidashi::library {
namespace {

TEST(FileDigest, ThePiecesDoNotChangeWhatIsFoundNorTheSum) {
    const auto file = std::filesystem::temp_directory_path() / "kx_file_digest_test.bin";
    std::string bytes;
    for (int i = 0; i < 500; ++i) bytes += static_cast<char>(i * 37 % 251);
    bytes += "sha256:abcdef";
    bytes += std::string(40, 'x');
    bytes += "sha256:abcdef";  // twice: first and last differ
    std::ofstream(file, std::ios::binary) << bytes;
    const size_t first = bytes.find("sha256:abcdef"), last = bytes.rfind("sha256:abcdef");
    std::string zeroed = bytes;
    zeroed.replace(first + 7, 6, "000000");
    const std::string expected =
        QCryptographicHash::hash(QByteArray::fromStdString(zeroed), QCryptographicHash::Sha256)
            .toHex()
            .toStdString();
    for (size_t chunk :
         {size_t{1}, size_t{3}, size_t{7}, size_t{509}, size_t{512}, kFilePassChunk}) {
        auto places = FindInFile(file.string(), "sha256:abcdef", chunk);
        ASSERT_TRUE(places) << chunk;
        EXPECT_EQ(places->first, first) << chunk;
        EXPECT_EQ(places->last, last) << chunk;
        EXPECT_FALSE(FindInFile(file.string(), "sha256:abcdeg", chunk)) << chunk;
        EXPECT_EQ(Sha256OfFile(file.string(), first + 7, 6, chunk), expected) << chunk;
    }
    std::filesystem::remove(file);
    EXPECT_THROW(Sha256OfFile(file.string()), std::runtime_error);
}

}  // namespace
}  // namespace kashidashi::library
