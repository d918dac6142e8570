// What the menu and the software centres show of the package: the desktop
// entry under one main category, the AppStream metainfo with this version's
// release, a Japanese summary and description, and no made-up addresses;
// both pass their validators.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

namespace tools_test {
namespace {

const std::string kTop = std::string(KX_TEST_DATA) + "/..";
const std::string kDesktopEntry = kTop + "/packaging/jp.example.kashidashi.desktop";
const std::string kMetainfo = kTop + "/packaging/jp.example.kashidashi.metainfo.xml";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The exit status and output (both streams) of a shell command.
std::pair<int, std::string> Shell(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return {-1, ""};
    std::array<char, 512> buffer;
    while (fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
    return {pclose(pipe), output};
}

TEST(PackageFiles, TheDesktopEntryHasOneMainCategory) {
    const std::string entry = ReadAll(kDesktopEntry);
    std::smatch categories;
    ASSERT_TRUE(std::regex_search(entry, categories, std::regex("\nCategories=([^\n]*)")));
    int main = 0;
    for (const char* name :
         {"AudioVideo", "Audio", "Video", "Development", "Education", "Game", "Graphics", "Network",
          "Office", "Science", "Settings", "System", "Utility"})
        main += categories[1].str().find(std::string(name) + ";") != std::string::npos;
    EXPECT_EQ(main, 1) << categories[1];
    if (Shell("command -v desktop-file-validate").first != 0) GTEST_SKIP();
    auto [status, output] = Shell("desktop-file-validate " + kDesktopEntry);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output, "");
}

TEST(PackageFiles, TheMetainfoNamesThisReleaseSpeaksJapaneseAndMakesUpNoAddress) {
    const std::string metainfo = ReadAll(kMetainfo);
    const std::string top = ReadAll(kTop + "/CMakeLists.txt");
    std::smatch version;
    ASSERT_TRUE(
        std::regex_search(top, version, std::regex("project\\(kashidashi VERSION ([0-9.]+)")));
    EXPECT_NE(metainfo.find("<release version=\"" + version[1].str() + "\""), std::string::npos);
    std::smatch summary;
    ASSERT_TRUE(std::regex_search(metainfo, summary,
                                  std::regex("<summary xml:lang=\"ja\">([^<]*)</summary>")));
    EXPECT_NE(summary[1].str().find("図書館の管理"), std::string::npos) << summary[1];
    std::smatch paragraph;
    ASSERT_TRUE(
        std::regex_search(metainfo, paragraph, std::regex("<p xml:lang=\"ja\">([^<]*)</p>")));
    EXPECT_NE(paragraph[1].str().find("図書館の管理"), std::string::npos);
    // No web site or screenshot server exists yet: no address at all.
    EXPECT_EQ(metainfo.find("://"), std::string::npos);
    if (Shell("command -v appstreamcli").first != 0) GTEST_SKIP();
    auto [status, output] = Shell("appstreamcli validate --pedantic --no-net " + kMetainfo);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output.find("pedantic:"), std::string::npos) << output;
}

}  // namespace
}  // namespace tools_test
