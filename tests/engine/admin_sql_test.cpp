// "kashidashi-admin sql", run as the built program: what it prints on its
// two streams and the exit status it gives.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// A word for the shell, in single quotes.
std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class AdminSqlTest : public ::testing::Test {
  protected:
    void SetUp() override {
#ifndef KX_ADMIN_TOOL
        GTEST_SKIP() << "kashidashi-admin is not built";
#endif
        std::string pattern = (fs::temp_directory_path() / "kx_admin_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        work_ = pattern;
        folder_ = (work_ / "data").string();
        fs::create_directory(folder_);
    }

    void TearDown() override {
        if (!work_.empty()) fs::remove_all(work_);
    }

    Outcome Admin(const std::vector<std::string>& args) {
#ifdef KX_ADMIN_TOOL
        std::string command = Quoted(KX_ADMIN_TOOL);
        for (const auto& arg : args) command += " " + Quoted(arg);
        command +=
            " >" + Quoted((work_ / "out").string()) + " 2>" + Quoted((work_ / "err").string());
        int raw = std::system(command.c_str());
        return Outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(work_ / "out"),
                       ReadAll(work_ / "err")};
#else
        return Outcome{};
#endif
    }

    Outcome Sql(const std::string& text, const std::vector<std::string>& params = {}) {
        std::vector<std::string> args{"sql", folder_};
        for (const auto& param : params) args.insert(args.end(), {"--param", param});
        args.push_back(text);
        return Admin(args);
    }

    fs::path work_;
    std::string folder_;
};

TEST_F(AdminSqlTest, RunsStatementsAndPrintsTheRowsOfEachQuery) {
    Outcome made =
        Sql("CREATE TABLE T (K INTEGER, S CHAR(10), F FLOAT, B BOOLEAN, D DATE, TS TIMESTAMP, "
            "PRIMARY KEY (K));"
            "INSERT INTO T VALUES (1, '山田', 2.5, True, '2024/04/01', '2024/04/01 09:05:00');"
            "INSERT INTO T (K, B) VALUES (2, False)");
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, "");
    EXPECT_TRUE(fs::exists(fs::path(folder_) / "kashidashi.db"));

    Outcome read = Sql("Select * From T Order By K; Select K From T Where K = 2");
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.out,
              "K\tS\tF\tB\tD\tTS\n"
              "1\t山田\t2.5\tTrue\t2024/04/01\t2024/04/01 09:05:00\n"
              "2\tNULL\tNULL\tFalse\tNULL\tNULL\n"
              "K\n"
              "2\n");
    EXPECT_EQ(read.err, "");
}

TEST_F(AdminSqlTest, ParametersOfEveryType) {
    Sql("CREATE TABLE T (K INTEGER, S CHAR(20), D DATE, TS TIMESTAMP)");
    Outcome put =
        Sql("Insert Into T Values (:K, :S, :D, :TS)",
            {"K=int:7", "S=text:it's", "D=date:2024/04/01", "ts=datetime:2024/04/01 13:00:00"});
    EXPECT_EQ(put.status, 0) << put.err;
    Outcome got = Sql("Select K, S, D, TS From T Where S = :S and D <= :TS",
                      {"S=text:it's", "TS=datetime:2024/04/01 00:00:00"});
    EXPECT_EQ(got.out, "K\tS\tD\tTS\n7\tit's\t2024/04/01\t2024/04/01 13:00:00\n") << got.err;
}

TEST_F(AdminSqlTest, AnEngineErrorPrintsItsCodeAndChangesNothing) {
    Sql("CREATE TABLE T (K INTEGER, PRIMARY KEY (K)); Insert Into T Values (1)");
    Outcome failed = Sql("Insert Into T Values (2); Insert Into T Values (1)");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "9729 Duplicate key found in the index 'PRIMARY' of the table 'T'\n");
    EXPECT_EQ(Sql("Select K From T").out, "K\n1\n");

    Outcome missing = Sql("Select * From Nothing");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "11010 Table 'Nothing' does not exist\n");
    EXPECT_EQ(missing.out, "");

    Outcome noFolder = Admin({"sql", (work_ / "none").string(), "Select * From T"});
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_EQ(noFolder.err.rfind("11001 ", 0), 0u) << noFolder.err;
    EXPECT_FALSE(fs::exists(work_ / "none"));
}

TEST_F(AdminSqlTest, WrongUsePrintsTheUsage) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"nothing"},
        {"sql"},
        {"sql", "FOLDER"},
        {"sql", "FOLDER", "Select 1", "extra"},
        {"sql", "FOLDER", "--param", "PM=int:x", "Select * From T"},
        {"sql", "FOLDER", "--param", "PM=money:1", "Select * From T"},
        {"sql", "FOLDER", "--param", "PM", "Select * From T"},
        {"sql", "FOLDER", "Select * From T", "--param"},
        {"sql", "FOLDER", "--verbose", "Select * From T"},
    };
    for (const auto& args : cases) {
        Outcome outcome = Admin(args);
        std::string words;
        for (const auto& arg : args) words += arg + " ";
        EXPECT_EQ(outcome.status, 2) << words;
        EXPECT_NE(outcome.err.find("kashidashi-admin sql FOLDER"), std::string::npos) << words;
        EXPECT_EQ(outcome.out, "") << words;
    }
}

}  // namespace
