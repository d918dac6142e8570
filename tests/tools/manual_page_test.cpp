// The manual page of kashidashi-admin keeps up with the program: every
// command that the built program lists in its usage has its entry there.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

const std::string kManualPage = std::string(KX_TEST_DATA) + "/../packaging/man/kashidashi-admin.1";

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The command names of the usage lines "  kashidashi-admin NAME ...".
std::vector<std::string> UsageCommands(const std::string& usage) {
    std::vector<std::string> names;
    std::istringstream lines(usage);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string program, name;
        if (words >> program >> name && program == "kashidashi-admin") names.push_back(name);
    }
    return names;
}

// A name as the page writes it: roff spells a hyphen "\-".
std::string RoffName(const std::string& name) {
    std::string roff;
    for (char c : name) roff += c == '-' ? std::string("\\-") : std::string(1, c);
    return roff;
}

class ManualPage : public ToolsFixture {};

TEST_F(ManualPage, HasAnEntryForEveryCommand) {
#ifndef KX_ADMIN_TOOL
    GTEST_SKIP() << "kashidashi-admin is not built";
#endif
    const std::string page = ReadAll(kManualPage);
    ASSERT_FALSE(page.empty()) << kManualPage;
    const auto names = UsageCommands(RunBuiltTool({}).err);
    ASSERT_GE(names.size(), 12u);  // sql ... check, and --version
    for (const auto& name : names) {
        const std::string entry = name.starts_with("--") ? ".B " + RoffName(name) + "\n"
                                                         : ".BI \"" + RoffName(name) + " ";
        EXPECT_NE(page.find(entry), std::string::npos)
            << "packaging/man/kashidashi-admin.1 lacks the command " << name;
    }
}

}  // namespace
}  // namespace tools_test
