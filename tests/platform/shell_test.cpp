#include "platform/shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::ShellOpen;
using platform::SplitWindowsArguments;
using platform_test::ReadFile;
using platform_test::ScopedEnv;
using platform_test::ScratchFolder;
using platform_test::WaitForFile;
using platform_test::WriteFile;

using Args = std::vector<std::string>;

struct SplitCase {
    std::string line;
    Args expected;
};

TEST(Shell, SplitWindowsArgumentsTable) {
    const SplitCase cases[] = {
        {"", {}},
        {"   ", {}},
        {"a", {"a"}},
        {"a b\tc", {"a", "b", "c"}},
        {"  a   b  ", {"a", "b"}},
        {"\"a b\" \"\"", {"a b", ""}},  // the updater's arguments: address and an empty one
        {"\"https://example.org/pkg/X.exe\" \"\"", {"https://example.org/pkg/X.exe", ""}},
        {"\"\"", {""}},
        {"a\"b c\"d", {"ab cd"}},
        {"\"a \"\"b\"\" c\"", {"a \"b\" c"}},
        {"a\\\\b", {"a\\\\b"}},
        {"a\\\"b", {"a\"b"}},
        {"a\\\\\"b c\"", {"a\\b c"}},
        {"\"C:\\Program Files\\\\\" x", {"C:\\Program Files\\", "x"}},
        {"\"unterminated arg", {"unterminated arg"}},
        {"ソ \"図書 館\"", {"ソ", "図書 館"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitWindowsArguments(c.line), c.expected) << c.line;
}

TEST(Shell, IsWebAddress) {
    EXPECT_TRUE(platform::IsWebAddress("https://example.org/"));
    EXPECT_TRUE(platform::IsWebAddress("HTTP://example.org/"));
    EXPECT_FALSE(platform::IsWebAddress("file:///etc/hosts"));
    EXPECT_FALSE(platform::IsWebAddress("C:\\dload.exe"));
    EXPECT_FALSE(platform::IsWebAddress("http:"));
}

// Writes a script that records its arguments, one per line in <>, into `out`, atomically.
std::string WriteRecorder(const ScratchFolder& scratch, const std::string& name,
                          const std::string& out) {
    const std::string path = scratch / name;
    WriteFile(path,
              "#!/bin/sh\n"
              "out='" +
                  out +
                  "'\n"
                  ": > \"$out.tmp\"\n"
                  "for a in \"$@\"; do printf '<%s>\\n' \"$a\" >> \"$out.tmp\"; done\n"
                  "mv \"$out.tmp\" \"$out\"\n");
    chmod(path.c_str(), 0755);
    return path;
}

TEST(Shell, StartsAProgramWithWindowsArguments) {
    ScratchFolder scratch;
    const std::string out = scratch / "args.txt";
    const std::string program = WriteRecorder(scratch, "dload.exe", out);
    EXPECT_TRUE(ShellOpen(program, "\"https://example.org/pkg/X.exe\" \"\""));
    ASSERT_TRUE(WaitForFile(out));
    EXPECT_EQ(ReadFile(out), "<https://example.org/pkg/X.exe>\n<>\n");
}

TEST(Shell, StartsAProgramOnADrivePath) {
    ScratchFolder scratch;
    ScopedEnv root("KASHIDASHI_DRIVE_ROOT", scratch.path());
    fs::create_directories(scratch / "drive_c/prog");
    const std::string out = scratch / "args.txt";
    const std::string program = WriteRecorder(scratch, "drive_c/prog/run", out);
    EXPECT_TRUE(ShellOpen("C:\\prog\\run", "\"a b\" \"\""));
    ASSERT_TRUE(WaitForFile(out));
    EXPECT_EQ(ReadFile(out), "<a b>\n<>\n");
}

TEST(Shell, StartsAProgramInTheCurrentFolder) {
    ScratchFolder scratch;
    const std::string out = scratch / "args.txt";
    WriteRecorder(scratch, "local.exe", out);
    const std::string before = fs::current_path().string();
    ASSERT_EQ(chdir(scratch.path().c_str()), 0);
    const bool started = ShellOpen("local.exe", "one");
    ASSERT_EQ(chdir(before.c_str()), 0);
    EXPECT_TRUE(started);
    ASSERT_TRUE(WaitForFile(out));
    EXPECT_EQ(ReadFile(out), "<one>\n");
}

TEST(Shell, WebAddressGoesToTheOpener) {
    ScratchFolder scratch;
    const std::string out = scratch / "opened.txt";
    ScopedEnv opener("KASHIDASHI_OPENER", WriteRecorder(scratch, "opener", out));
    EXPECT_TRUE(ShellOpen("https://example.org/manual.html?a=1&b=2"));
    ASSERT_TRUE(WaitForFile(out));
    EXPECT_EQ(ReadFile(out), "<https://example.org/manual.html?a=1&b=2>\n");
}

TEST(Shell, DocumentGoesToTheOpener) {
    ScratchFolder scratch;
    const std::string out = scratch / "opened.txt";
    ScopedEnv opener("KASHIDASHI_OPENER", WriteRecorder(scratch, "opener", out));
    WriteFile(scratch / "list.xlsx", "not a program");
    EXPECT_TRUE(ShellOpen(scratch / "list.xlsx"));
    ASSERT_TRUE(WaitForFile(out));
    EXPECT_EQ(ReadFile(out), "<" + (scratch / "list.xlsx") + ">\n");
}

TEST(Shell, Failures) {
    ScratchFolder scratch;
    EXPECT_FALSE(ShellOpen(scratch / "no-such-program", "x"));
    EXPECT_FALSE(ShellOpen("", ""));
    EXPECT_FALSE(ShellOpen("kashidashi-no-such-command-anywhere", ""));
    {
        ScopedEnv opener("KASHIDASHI_OPENER", scratch / "no-such-opener");
        EXPECT_FALSE(ShellOpen("https://example.org/"));
    }
    // An executable file whose exec fails (no interpreter) is reported as not started.
    WriteFile(scratch / "broken", "#!/no/such/interpreter\n");
    chmod((scratch / "broken").c_str(), 0755);
    EXPECT_FALSE(ShellOpen(scratch / "broken", ""));
}

TEST(Shell, LeavesNoZombie) {
    ScratchFolder scratch;
    const std::string out = scratch / "args.txt";
    const std::string program = WriteRecorder(scratch, "quick", out);
    ASSERT_TRUE(ShellOpen(program, "x"));
    ASSERT_TRUE(WaitForFile(out));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // Neither the intermediate process nor the program is our child.
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(Shell, ProgramGetsNoInheritedDescriptors) {
    ScratchFolder scratch;
    const std::string out = scratch / "fds.txt";
    const std::string path = scratch / "fds";
    WriteFile(path,
              "#!/bin/sh\n"
              "ls /proc/self/fd > '" +
                  out +
                  ".tmp'\n"
                  "mv '" +
                  out + ".tmp' '" + out + "'\n");
    chmod(path.c_str(), 0755);
    // A descriptor without close-on-exec, as a careless library might leave one.
    const int leaked = dup(1);
    ASSERT_GE(leaked, 3);
    EXPECT_TRUE(ShellOpen(path, ""));
    close(leaked);
    ASSERT_TRUE(WaitForFile(out));
    // ls itself opens one descriptor for /proc/self/fd; all others are 0, 1, 2.
    std::string listing = ReadFile(out);
    int count = 0;
    for (char c : listing) count += c == '\n';
    EXPECT_LE(count, 4) << listing;
}

}  // namespace
