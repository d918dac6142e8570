// kashidashi-admin copy and server addresses: a demo school copied from its
// folder to a server database and back again unchanged, a destination that
// has data tables refused, a source short of a table refused with nothing
// written, and malformed server addresses.
#include <cstdlib>

#include "data/schema.h"
#include "engine/pg_test_server.h"
#include "engine/session/data_location.h"
#include "tools/admin_commands.h"
#include "tools_fixture.h"

namespace tools_test {
namespace {

using kashidashi::admin::CommandCopy;
using kashidashi::admin::CommandDemo;
using kashidashi::admin::CommandInit;

class CopyCommandTest : public ToolsFixture {
  protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        KX_NEED_SERVER();
        scratchDb = std::make_unique<engine::testing::ScratchDatabase>();
        server = scratchDb->Location();
        setenv("KASHIDASHI_PASSWORD", scratchDb->address().password.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("KASHIDASHI_PASSWORD");
        scratchDb.reset();
        ToolsFixture::TearDown();
    }
    // Every row of every data table, through the built tool's sql command.
    std::string Everything(const std::string& location) {
        std::string all;
        for (const auto& table : kashidashi::DataTableNames()) {
            auto run = RunBuiltTool({"sql", location, "SELECT * FROM " + table}, table);
            EXPECT_EQ(run.status, 0) << run.err;
            all += table + "\n" + run.out;
        }
        return all;
    }
    std::string NewFolder(const std::string& name) {
        auto path = scratch / name;
        std::filesystem::create_directories(path);
        return path.string();
    }
    std::unique_ptr<engine::testing::ScratchDatabase> scratchDb;
    std::string server;
};

TEST_F(CopyCommandTest, ASchoolMovesToTheServerAndBackUnchanged) {
    ASSERT_EQ(Run(CommandDemo, {folder}).status, 0);
    auto there = Run(CommandCopy, {folder, server});
    ASSERT_EQ(there.status, 0) << there.err;
    EXPECT_NE(there.out.find("Book: 400 行"), std::string::npos) << there.out;
    std::string back = NewFolder("back");
    auto again = Run(CommandCopy, {server, back});
    ASSERT_EQ(again.status, 0) << again.err;
    std::string original = Everything(folder);
    EXPECT_EQ(Everything(server), original);
    EXPECT_EQ(Everything(back), original);
}

TEST_F(CopyCommandTest, ADestinationWithDataTablesIsRefused) {
    ASSERT_EQ(Run(CommandDemo, {folder}).status, 0);
    ASSERT_EQ(Run(CommandInit, {server}).status, 0);
    auto run = Run(CommandCopy, {folder, server});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("すでにデータ表"), std::string::npos) << run.err;
    auto books = RunBuiltTool({"sql", server, "SELECT * FROM Book"});
    EXPECT_EQ(books.out.find('\n'), books.out.size() - 1) << books.out;  // the heading only
}

TEST_F(CopyCommandTest, ASourceShortOfATableWritesNothing) {
    ASSERT_EQ(Run(CommandDemo, {folder}).status, 0);
    ASSERT_EQ(RunBuiltTool({"sql", folder, "DROP TABLE SYOZOKU"}).status, 0);
    auto run = Run(CommandCopy, {folder, server});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("SYOZOKU"), std::string::npos) << run.err;
    auto tables = RunBuiltTool({"sql", server, "SELECT * FROM Book"});
    EXPECT_EQ(tables.status, 1);  // no table was made
}

TEST(DataLocationTest, ServerAddressesAndFolders) {
    struct Case {
        const char* text;
        bool ok;
        const char* host;
        int port;
        const char* user;
        const char* database;
    };
    const Case cases[] = {
        {"server://Admin@dbserver/Book", true, "dbserver", 12005, "Admin", "Book"},
        {"server://desk@10.0.0.5:5433/School", true, "10.0.0.5", 5433, "desk", "School"},
        {"server://dbserver/Book", false, "", 0, "", ""},
        {"server://Admin@dbserver", false, "", 0, "", ""},
        {"server://Admin@dbserver:/Book", false, "", 0, "", ""},
        {"server://Admin@dbserver:12x/Book", false, "", 0, "", ""},
        {"server://Admin@:5432/Book", false, "", 0, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string problem;
        auto location = engine::ParseLocation(c.text, problem);
        ASSERT_EQ(location.has_value(), c.ok) << problem;
        if (!c.ok) {
            EXPECT_NE(problem.find("server://USER@HOST[:PORT]/DATABASE"), std::string::npos);
            continue;
        }
        EXPECT_TRUE(location->server);
        EXPECT_EQ(location->address.host, c.host);
        EXPECT_EQ(location->address.port, c.port);
        EXPECT_EQ(location->address.user, c.user);
        EXPECT_EQ(location->address.database, c.database);
    }
    std::string problem;
    EXPECT_FALSE(engine::ParseLocation("/tmp/folder", problem)->server);
}

}  // namespace
}  // namespace tools_test
