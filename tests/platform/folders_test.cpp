#include "platform/folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/paths.h"
#include "platform/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::CreateFolderPath;
using platform_test::ScopedEnv;
using platform_test::ScratchFolder;

// All entries under a folder, recursively, as relative paths.
std::set<std::string> Tree(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.insert(fs::relative(entry.path(), folder).string());
    }
    return names;
}

class CreateFolderPathTest : public ::testing::Test {
  protected:
    ScratchFolder scratch;
    ScopedEnv root{"KASHIDASHI_DRIVE_ROOT", scratch.path()};
};

TEST_F(CreateFolderPathTest, NestedCreation) {
    EXPECT_TRUE(CreateFolderPath("C:\\$$\\pkv\\"));
    EXPECT_TRUE(fs::is_directory(scratch / "drive_c/$$/pkv"));
    EXPECT_EQ(Tree(scratch.path()),
              (std::set<std::string>{"drive_c", "drive_c/$$", "drive_c/$$/pkv"}));
}

TEST_F(CreateFolderPathTest, AllExistingGivesFalseAndChangesNothing) {
    fs::create_directories(scratch / "drive_c/$$/pkv");
    platform_test::WriteFile(scratch / "drive_c/$$/pkv/keep.txt", "keep");
    const auto before = Tree(scratch.path());
    struct stat st {};
    ASSERT_EQ(stat((scratch / "drive_c/$$/pkv").c_str(), &st), 0);
    const auto mtime = st.st_mtim;

    EXPECT_FALSE(CreateFolderPath("C:\\$$\\pkv\\"));
    EXPECT_EQ(Tree(scratch.path()), before);
    ASSERT_EQ(stat((scratch / "drive_c/$$/pkv").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, mtime.tv_sec);
    EXPECT_EQ(st.st_mtim.tv_nsec, mtime.tv_nsec);
    EXPECT_EQ(platform_test::ReadFile(scratch / "drive_c/$$/pkv/keep.txt"), "keep");
}

TEST_F(CreateFolderPathTest, PartlyExisting) {
    fs::create_directories(scratch / "drive_c/$$");
    EXPECT_TRUE(CreateFolderPath("C:\\$$\\pkv\\"));
    EXPECT_TRUE(fs::is_directory(scratch / "drive_c/$$/pkv"));
    EXPECT_FALSE(CreateFolderPath("C:\\$$\\pkv\\"));
}

TEST_F(CreateFolderPathTest, DriveRootAloneCountsAsExisting) {
    EXPECT_FALSE(CreateFolderPath("C:\\"));
    EXPECT_TRUE(fs::is_directory(scratch / "drive_c"));
}

TEST_F(CreateFolderPathTest, TextAfterTheLastSeparatorIsNoFolder) {
    EXPECT_TRUE(CreateFolderPath("C:\\a\\b"));
    EXPECT_TRUE(fs::is_directory(scratch / "drive_c/a"));
    EXPECT_FALSE(fs::exists(scratch / "drive_c/a/b"));
    EXPECT_FALSE(CreateFolderPath("C:\\a\\b"));
}

TEST_F(CreateFolderPathTest, FolderNameWithSo) {
    // In CP932 the second byte of ソ is 0x5C; it must not split the folder name.
    EXPECT_TRUE(CreateFolderPath("C:\\図書ソフト\\ソ\\"));
    EXPECT_EQ(Tree(scratch.path()),
              (std::set<std::string>{"drive_c", "drive_c/図書ソフト", "drive_c/図書ソフト/ソ"}));
    EXPECT_FALSE(CreateFolderPath("C:\\図書ソフト\\ソ\\"));
    EXPECT_TRUE(platform::FolderExists("C:\\図書ソフト\\ソ\\"));
}

TEST_F(CreateFolderPathTest, FolderNameWithSoAsCp932Bytes) {
    // Legacy CP932 bytes: C:\ソ\x\ creates the folders "ソ" (as its two bytes) and "x" only.
    const std::string so = "\x83\x5c";
    EXPECT_TRUE(CreateFolderPath("C:\\" + so + "\\x\\"));
    EXPECT_EQ(Tree(scratch.path()),
              (std::set<std::string>{"drive_c", "drive_c/" + so, "drive_c/" + so + "/x"}));
}

TEST_F(CreateFolderPathTest, PosixAndMixedSeparators) {
    const std::string base = scratch.path();
    EXPECT_TRUE(CreateFolderPath(base + "/p/q\\r\\"));
    EXPECT_TRUE(fs::is_directory(base + "/p/q/r"));
    EXPECT_FALSE(fs::exists(base + "/p/q\\r"));
    EXPECT_FALSE(CreateFolderPath(base + "/p/q/r/"));
}

TEST_F(CreateFolderPathTest, UncServerAndShareAreNotCreated) {
    EXPECT_FALSE(CreateFolderPath("\\\\server\\share\\Book\\"));
    EXPECT_FALSE(fs::exists(scratch / "unc/server"));
    fs::create_directories(scratch / "unc/server/share");
    EXPECT_TRUE(CreateFolderPath("\\\\server\\share\\Book\\"));
    EXPECT_TRUE(fs::is_directory(scratch / "unc/server/share/Book"));
}

TEST_F(CreateFolderPathTest, EmptyPath) {
    EXPECT_FALSE(CreateFolderPath(""));
}

}  // namespace
