// bench/load, briefly: two real desks on one demo school's folder for a few
// seconds; its last line has the driver's form and every invariant holds.
#include <cstdlib>
#include <regex>
#include <sstream>

#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

const std::string kTop = std::string(KX_TEST_DATA) + "/..";

std::string LastLine(const std::string& out) {
    std::istringstream lines(out);
    std::string last;
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) last = line;
    return last;
}

#if defined(KX_LOAD_PROGRAM) && defined(KX_ADMIN_TOOL)
TEST_F(ToolsFixture, LoadDriverRunsTwoDesksOnAFolderAndFindsTheSchoolWhole) {
    setenv("KX_LOAD_PROGRAM", KX_LOAD_PROGRAM, 1);
    setenv("KX_ADMIN", KX_ADMIN_TOOL, 1);
    const std::string folder = (scratch / "school").string();
    CommandRun run = RunProgram(
        kTop + "/bench/load",
        {"--desks", "2", "--folder", folder, "--seconds", "3", "--pace-ms", "100"}, "load");
    unsetenv("KX_LOAD_PROGRAM");
    unsetenv("KX_ADMIN");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string last = LastLine(run.out);
    const std::regex form(
        "load: desks=2 schools=1 scans=[1-9][0-9]* per_s=[0-9.]+ p50_ms=[0-9.]+ "
        "p95_ms=[0-9.]+ p99_ms=[0-9.]+ max_ms=[0-9.]+ errors=0 invariants=ok");
    EXPECT_TRUE(std::regex_match(last, form)) << run.out << run.err;
}
#endif

}  // namespace
}  // namespace tools_test
