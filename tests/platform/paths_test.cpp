#include "platform/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/cp932.h"
#include "platform/scratch_folder.h"

namespace {

using platform::EndsWithSeparator;
using platform::MapToLocalPath;
using platform::WithTrailingSeparator;
using platform_test::ScopedEnv;
using platform_test::ScratchFolder;

struct MapCase {
    std::string path;
    std::string expected;  // "@" stands for the drive root
};

TEST(Paths, DrivePathMapping) {
    ScopedEnv root("KASHIDASHI_DRIVE_ROOT", "/drives");
    const MapCase cases[] = {
        {"C:\\Book\\", "/drives/drive_c/Book/"},
        {"c:\\Book\\", "/drives/drive_c/Book/"},
        {"D:\\Lib", "/drives/drive_d/Lib"},
        {"C:\\$$\\pkv\\", "/drives/drive_c/$$/pkv/"},
        {"C:\\jbox\\ksno.mdb", "/drives/drive_c/jbox/ksno.mdb"},
        {"C:\\", "/drives/drive_c/"},
        {"C:", "/drives/drive_c"},
        {"C:Book", "/drives/drive_c/Book"},
        {"C:/Book/x", "/drives/drive_c/Book/x"},
        {"C:\\図書\\ソ\\", "/drives/drive_c/図書/ソ/"},
        {"\\\\server\\share\\Book\\", "/drives/unc/server/share/Book/"},
        {"/srv/book/", "/srv/book/"},
        {"/srv/book", "/srv/book"},
        {"/srv/book\\sub\\", "/srv/book/sub/"},
        {"TMP$$$.CSV", "TMP$$$.CSV"},
        {"CSV\\TMP$$$.CSV", "CSV/TMP$$$.CSV"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(MapToLocalPath(c.path), c.expected) << c.path;
}

TEST(Paths, DriveRootFromHome) {
    ScopedEnv noRoot("KASHIDASHI_DRIVE_ROOT", "");
    ScopedEnv home("HOME", "/home/desk");
    EXPECT_EQ(platform::DriveRootFolder(), "/home/desk/.kashidashi");
    EXPECT_EQ(MapToLocalPath("C:\\Book\\"), "/home/desk/.kashidashi/drive_c/Book/");
}

TEST(Paths, DriveRootOverrideLosesTrailingSlash) {
    ScopedEnv root("KASHIDASHI_DRIVE_ROOT", "/tmp/x/");
    EXPECT_EQ(MapToLocalPath("E:\\a"), "/tmp/x/drive_e/a");
}

TEST(Paths, Kinds) {
    EXPECT_TRUE(platform::IsDrivePath("C:\\"));
    EXPECT_TRUE(platform::IsDrivePath("z:"));
    EXPECT_FALSE(platform::IsDrivePath("1:\\"));
    EXPECT_FALSE(platform::IsDrivePath("/srv"));
    EXPECT_FALSE(platform::IsDrivePath("C"));
    EXPECT_TRUE(platform::IsUncPath("\\\\server\\share"));
    EXPECT_FALSE(platform::IsUncPath("\\Book"));
}

struct EndsCase {
    std::string path;
    bool ends;
};

TEST(Paths, EndsWithSeparatorTable) {
    const std::string so = "ソ";
    const std::string soCp932 = platform::ToCp932(so);
    ASSERT_EQ(soCp932, "\x83\x5c");  // the second byte of ソ is a backslash byte
    const EndsCase cases[] = {
        {"C:\\Book\\", true},
        {"C:\\Book", false},
        {"D:\\Lib", false},
        {"/srv/book/", true},
        {"/srv/book\\", true},
        {"/srv/book", false},
        {"C:\\", true},
        {"C:", false},
        {"", false},
        {"C:\\" + so, false},
        {"C:\\" + so + "\\", true},
        // The same paths as CP932 bytes (legacy data): the 0x5C of ソ is no separator.
        {"C:\\" + soCp932, false},
        {"C:\\" + soCp932 + "\\", true},
        {"C:\\" + soCp932 + soCp932, false},
    };
    for (const auto& c : cases) EXPECT_EQ(EndsWithSeparator(c.path), c.ends) << c.path;
}

TEST(Paths, SeparatorPositions) {
    EXPECT_EQ(platform::SeparatorPositions("C:\\a/b\\"), (std::vector<std::size_t>{2, 4, 6}));
    const std::string cp932 = "C:\\\x83\x5c\\";  // C:\ソ\ in CP932
    EXPECT_EQ(platform::SeparatorPositions(cp932), (std::vector<std::size_t>{2, 5}));
    EXPECT_EQ(platform::LastSeparator("abc"), std::string_view::npos);
}

struct TrailingCase {
    std::string path;
    std::string expected;
};

TEST(Paths, WithTrailingSeparatorTable) {
    const TrailingCase cases[] = {
        {"D:\\Lib", "D:\\Lib\\"},
        {"C:\\Book\\", "C:\\Book\\"},
        {"C:", "C:\\"},
        {"C:\\ソ", "C:\\ソ\\"},
        {"\\\\server\\share", "\\\\server\\share\\"},
        {"/srv/book", "/srv/book/"},
        {"/srv/book/", "/srv/book/"},
        {"/", "/"},
        {"CSV", "CSV/"},
        {"a\\CSV", "a\\CSV\\"},
        {"", ""},
        {std::string("C:\\\x83\x5c"), std::string("C:\\\x83\x5c\\")},
    };
    for (const auto& c : cases) EXPECT_EQ(WithTrailingSeparator(c.path), c.expected) << c.path;
}

TEST(Paths, FolderExists) {
    ScratchFolder scratch;
    ScopedEnv root("KASHIDASHI_DRIVE_ROOT", scratch.path());
    std::filesystem::create_directories(scratch / "drive_c/Book");
    platform_test::WriteFile(scratch / "drive_c/Book/file.txt", "x");
    EXPECT_TRUE(platform::FolderExists("C:\\Book\\"));
    EXPECT_TRUE(platform::FolderExists("C:\\Book"));
    EXPECT_TRUE(platform::FolderExists("c:/Book/"));
    EXPECT_FALSE(platform::FolderExists("C:\\Lib\\"));
    EXPECT_FALSE(platform::FolderExists("D:\\"));
    EXPECT_FALSE(platform::FolderExists("C:\\Book\\file.txt"));
    EXPECT_TRUE(platform::FileExists("C:\\Book\\file.txt"));
    EXPECT_FALSE(platform::FileExists("C:\\Book\\"));
    EXPECT_TRUE(platform::FolderExists(scratch.path()));
    EXPECT_TRUE(platform::FolderExists(scratch.path() + "/"));
    EXPECT_FALSE(platform::FolderExists(""));
}

TEST(Paths, CurrentFolder) {
    ScratchFolder scratch;
    const std::string before = platform::CurrentFolder();
    ASSERT_EQ(chdir(scratch.path().c_str()), 0);
    EXPECT_EQ(platform::CurrentFolder(), std::filesystem::canonical(scratch.path()).string());
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_EQ(platform::CurrentFolder(), "/");
    ASSERT_EQ(chdir(before.c_str()), 0);
    EXPECT_NE(before.back(), '/');
}

TEST(Paths, ProgramFileFolder) {
    const std::string folder = platform::ProgramFileFolder();
    EXPECT_TRUE(std::filesystem::exists(folder + "/platform_tests"));
    EXPECT_NE(folder.back(), '/');
}

}  // namespace
