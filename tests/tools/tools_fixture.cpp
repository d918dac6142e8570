#include "tools/tools_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/common/value_convert.h"
#include "tools/admin_commands.h"
#include "tools/data_folder.h"

namespace tools_test {
namespace {

std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

CommandRun ToolsFixture::RunProgram(const std::string& program,
                                    const std::vector<std::string>& args, const std::string& tag) {
    CommandRun run;
    const auto out = scratch / (tag + ".out"), err = scratch / (tag + ".err");
    std::string command = Quoted(program);
    for (const auto& arg : args) command += " " + Quoted(arg);
    command += " >" + Quoted(out.string()) + " 2>" + Quoted(err.string()) + " </dev/null";
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadText(out);
    run.err = ReadText(err);
    return run;
}

CommandRun ToolsFixture::RunBuiltTool(const std::vector<std::string>& args,
                                      const std::string& tag) {
#ifdef KX_ADMIN_TOOL
    return RunProgram(KX_ADMIN_TOOL, args, tag);
#else
    return {};
#endif
}

void ToolsFixture::SetUp() {
    static std::atomic<int> counter{0};
    scratch = std::filesystem::temp_directory_path() /
              ("kx_tools_" + std::to_string(getpid()) + "_" + std::to_string(counter++));
    std::filesystem::remove_all(scratch);
    std::filesystem::create_directories(scratch / "data");
    folder = (scratch / "data").string();
}

void ToolsFixture::TearDown() {
    std::filesystem::remove_all(scratch);
}

CommandRun ToolsFixture::Run(const Command& command, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CommandRun run;
    run.status = command(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

void ToolsFixture::InitFolder() {
    auto run = Run(kashidashi::admin::CommandInit, {folder});
    ASSERT_EQ(run.status, 0) << run.err;
}

std::string ToolsFixture::Fixture(const std::string& name) {
    return std::string(KX_TEST_DATA) + "/tools/fixtures/" + name;
}

std::string ToolsFixture::WriteScratch(const std::string& name, const std::string& bytes) {
    auto path = (scratch / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::vector<std::map<std::string, std::string>> ToolsFixture::Rows(const std::string& table) {
    kashidashi::admin::DataFolder data(folder);
    auto t = data.Table(table);
    t->Open();
    std::vector<std::map<std::string, std::string>> rows;
    for (t->First(); !t->Eof(); t->Next()) {
        auto& row = rows.emplace_back();
        for (int i = 0; i < t->FieldCount(); ++i)
            row[t->Fields(i).FieldName()] = engine::ValueText(t->Fields(i).GetValue());
    }
    return rows;
}

std::map<std::string, std::string> ToolsFixture::Row(const std::string& table,
                                                     const std::string& keyColumn,
                                                     const std::string& key) {
    for (auto& row : Rows(table)) {
        if (row[keyColumn] == key) return row;
    }
    return {};
}

void BuiltToolFixture::SetUp() {
#ifndef KX_ADMIN_TOOL
    GTEST_SKIP() << "kashidashi-admin is not built";
#endif
    ToolsFixture::SetUp();
}

void BuiltToolFixture::TearDown() {
    if (database) unsetenv("KASHIDASHI_PASSWORD");
    database.reset();
    ToolsFixture::TearDown();
}

void BuiltToolFixture::UseServer() {
    KX_NEED_SERVER();
    database = std::make_unique<engine::testing::ScratchDatabase>();
    folder = database->Location();
    setenv("KASHIDASHI_PASSWORD", database->address().password.c_str(), 1);
}

void BuiltToolFixture::MakeDemoSchool() {
    auto demo = RunBuiltTool({"demo", folder});
    ASSERT_EQ(demo.status, 0) << demo.err;
    Sql("Update Book Set kintaiF=False, haikiF=False, kashidashiF=False, "
        "tourokubi='2020/04/01' Where BOOK_ID<=20");
}

void BuiltToolFixture::Sql(const std::string& text) {
    auto run = RunBuiltTool({"sql", folder, text}, "sql");
    ASSERT_EQ(run.status, 0) << text << "\n" << run.err;
}

}  // namespace tools_test
