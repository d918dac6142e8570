// A fresh data folder for each test of the administration commands, a way to
// run a command as the program does, and readers of what it stored.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/pg_test_server.h"

namespace tools_test {

// What a command returned and printed.
struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

using Command = std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)>;

class ToolsFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    CommandRun Run(const Command& command, const std::vector<std::string>& args);
    // Runs a program with its standard input empty; `tag` names its output
    // files in the scratch folder, so that several may run at once.
    CommandRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                          const std::string& tag);
    // Runs the built kashidashi-admin (see RunProgram).
    CommandRun RunBuiltTool(const std::vector<std::string>& args, const std::string& tag = "run");
    // init on the fixture's folder, expected to succeed.
    void InitFolder();
    // A file of fixtures/ by name.
    static std::string Fixture(const std::string& name);
    // Writes a file in the fixture's scratch folder (not the data folder).
    std::string WriteScratch(const std::string& name, const std::string& bytes);

    // Every row of a table, in the order of its primary index: column name
    // (as the table spells it) -> the text form of the value.
    std::vector<std::map<std::string, std::string>> Rows(const std::string& table);
    // The rows of a table whose key column has the text form `key`.
    std::map<std::string, std::string> Row(const std::string& table, const std::string& keyColumn,
                                           const std::string& key);

    std::filesystem::path scratch;
    std::string folder;  // the data folder, inside scratch
};

// The tests of the built kashidashi-admin: skipped when it is not built.
// `folder` is a data folder, or after UseServer a scratch database of the
// test server (its password in KASHIDASHI_PASSWORD, as the program reads it).
class BuiltToolFixture : public ToolsFixture {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Whether SetUp or UseServer stopped the test.
    bool Stopped() { return IsSkipped() || HasFatalFailure(); }
    // Points `folder` at a new scratch database; skips without a server.
    void UseServer();
    // The demo school in `folder`, books 1 to 20 plain books on the shelf,
    // registered long ago.
    void MakeDemoSchool();
    // Statements of the sql command on `folder`, expected to succeed.
    void Sql(const std::string& text);

    std::unique_ptr<engine::testing::ScratchDatabase> database;
};

}  // namespace tools_test
