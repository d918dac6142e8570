// The data-folder commands as the built kashidashi-admin runs them: listed
// in its usage, and giving their exit status and messages through the
// program's own streams.
#include <gtest/gtest.h>

#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

class AdminTool : public BuiltToolFixture {
  protected:
    CommandRun Admin(const std::vector<std::string>& args) { return RunBuiltTool(args); }
};

TEST_F(AdminTool, UsageListsTheDataCommands) {
    auto run = Admin({});
    EXPECT_EQ(run.status, 2);
    for (const char* usage : {"init FOLDER", "demo FOLDER", "import-users FOLDER FILE.csv",
                              "import-books FOLDER FILE.csv"})
        EXPECT_NE(run.err.find(usage), std::string::npos) << usage << "\n" << run.err;
}

TEST_F(AdminTool, DemoThenImports) {
    auto demo = Admin({"demo", folder});
    ASSERT_EQ(demo.status, 0) << demo.err;
    EXPECT_NE(demo.out.find("図書 400冊"), std::string::npos) << demo.out;

    const auto books = Rows("Book");
    auto bad = Admin({"import-books", folder, Fixture("bad_date.csv"), "--apply"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("3行目: "), std::string::npos) << bad.err;
    EXPECT_EQ(Rows("Book"), books);  // line 2 was good, but nothing was written

    auto good = Admin({"import-users", folder, Fixture("users_update.csv"), "--apply"});
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(good.out, "2件を取り込みました（新規 2件、更新 0件）\n");
    EXPECT_EQ(Rows("Name").size(), 67u);
}

}  // namespace
}  // namespace tools_test
