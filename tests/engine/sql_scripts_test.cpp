// Runs the SQL scripts tests/engine/scripts/*.test, one test per file and
// backend, each against a fresh empty database (a folder, or a database on
// the test server: pg_test_server.h), through TDBQuery as the application
// runs its statements.
//
// Script format, in the manner of sqllogictest. A record is a header line,
// the statement's lines, and a blank line (or the end of the file):
//
//   # a comment                  a line starting with "#" between records
//   param NAME TYPE VALUE        a parameter of the next record; TYPE is
//                                int, text, date (yyyy/mm/dd) or datetime
//                                (yyyy/mm/dd hh:nn:ss); VALUE is the rest of
//                                the line (an empty text when nothing is left)
//   statement ok                 the lines up to the blank line are run with
//                                ExecSQL (all statements of the text, ";"
//                                between them) and must succeed
//   statement error CODE         ... must fail with the engine error CODE
//                                (0 for a data set error)
//   query [rowsort]              the lines up to "----" are opened as one
//                                query; the lines after "----" up to the
//                                blank line are the rows it must return
//
// Expected rows: one line per row, fields separated by tabs, NULL as NULL,
// booleans True/False, dates yyyy/mm/dd, timestamps yyyy/mm/dd hh:nn:ss,
// numbers in their shortest form. Rows are compared in order; with rowsort
// both sides are sorted first (for statements without ORDER BY, whose order
// is unspecified). The scripts use the dialect only, so that they hold for
// every backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/common/dates.h"
#include "engine/common/error.h"
#include "engine/common/value_convert.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "pg_test_server.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

struct ParamSetting {
    std::string name;
    Value value;
};

struct Record {
    enum class Kind { kStatementOk, kStatementError, kQuery };
    Kind kind = Kind::kStatementOk;
    int line = 0;
    int errorCode = 0;
    bool rowsort = false;
    std::string text;
    std::vector<std::string> expected;
    std::vector<ParamSetting> params;
};

// ---- Reading a script ----

class ScriptReader {
  public:
    explicit ScriptReader(const fs::path& path) : path_(path.string()), in_(path) {}

    std::vector<Record> Read();

  private:
    bool NextLine(std::string& line);
    void ReadParam(const std::string& line);
    Record ReadHeader(const std::string& line);
    void ReadBody(Record& record);
    [[noreturn]] void Fail(const std::string& what) const;

    std::string path_;
    std::ifstream in_;
    int lineNumber_ = 0;
    std::vector<ParamSetting> pending_;
};

bool ScriptReader::NextLine(std::string& line) {
    if (!std::getline(in_, line)) return false;
    ++lineNumber_;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

void ScriptReader::Fail(const std::string& what) const {
    throw std::runtime_error(path_ + ":" + std::to_string(lineNumber_) + ": " + what);
}

Value ParamValue(const std::string& type, const std::string& text, bool& ok) {
    ok = true;
    if (type == "text") return Value(text);
    if (type == "int") {
        int64_t n = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
        if (ec == std::errc() && end == text.data() + text.size()) return Value(n);
    }
    if (type == "date")
        if (auto date = ParseDate(text)) return Value(*date);
    if (type == "datetime")
        if (auto moment = ParseDateTime(text)) return Value(*moment);
    ok = false;
    return Value();
}

void ScriptReader::ReadParam(const std::string& line) {
    std::istringstream words(line);
    std::string keyword, name, type;
    words >> keyword >> name >> type;
    std::string rest;
    std::getline(words, rest);
    if (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
    bool ok = false;
    Value value = ParamValue(type, rest, ok);
    if (name.empty() || !ok) Fail("bad param line: " + line);
    pending_.push_back({name, value});
}

Record ScriptReader::ReadHeader(const std::string& line) {
    Record record;
    record.line = lineNumber_;
    std::istringstream words(line);
    std::string kind, detail;
    words >> kind >> detail;
    if (kind == "statement" && detail == "ok") {
        record.kind = Record::Kind::kStatementOk;
    } else if (kind == "statement" && detail == "error") {
        record.kind = Record::Kind::kStatementError;
        if (!(words >> record.errorCode)) Fail("statement error needs a code");
    } else if (kind == "query") {
        record.kind = Record::Kind::kQuery;
        record.rowsort = detail == "rowsort";
    } else {
        Fail("unknown record: " + line);
    }
    record.params = std::move(pending_);
    pending_.clear();
    return record;
}

void ScriptReader::ReadBody(Record& record) {
    std::string line;
    bool inRows = false;
    while (NextLine(line) && !line.empty()) {
        if (record.kind == Record::Kind::kQuery && line == "----" && !inRows) {
            inRows = true;
        } else if (inRows) {
            record.expected.push_back(line);
        } else {
            record.text += line + "\n";
        }
    }
    if (record.text.empty()) Fail("a record without a statement");
    if (record.kind == Record::Kind::kQuery && !inRows) Fail("a query without ----");
}

std::vector<Record> ScriptReader::Read() {
    if (!in_) Fail("cannot read the script");
    std::vector<Record> records;
    std::string line;
    while (NextLine(line)) {
        if (line.empty() || line.front() == '#') continue;
        if (line.rfind("param ", 0) == 0) {
            ReadParam(line);
            continue;
        }
        records.push_back(ReadHeader(line));
        ReadBody(records.back());
    }
    return records;
}

// ---- Running a script ----

std::string FieldText(const TField& field) {
    Value value = field.GetValue();
    return value.IsNull() ? "NULL" : ValueText(value);
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += "  " + line + "\n";
    return text.empty() ? "  (no rows)\n" : text;
}

class ScriptRunner {
  public:
    ScriptRunner(std::string file, const TDBDatabase& database)
        : file_(std::move(file)),
          databaseName_(database.DatabaseName()),
          sessionName_(database.Session().SessionName()) {}

    void Run(const Record& record);

  private:
    void Prepare(TDBQuery& query, const Record& record) const;
    std::vector<std::string> Rows(TDBQuery& query) const;
    void CheckQuery(const Record& record);
    void CheckStatement(const Record& record);

    std::string file_;
    std::string databaseName_;
    std::string sessionName_;
};

void ScriptRunner::Prepare(TDBQuery& query, const Record& record) const {
    query.SetSessionName(sessionName_);
    query.SetDatabaseName(databaseName_);
    query.SQL().SetText(record.text);
    for (const auto& param : record.params) query.ParamByName(param.name).SetValue(param.value);
}

std::vector<std::string> ScriptRunner::Rows(TDBQuery& query) const {
    std::vector<std::string> rows;
    for (query.First(); !query.Eof(); query.Next()) {
        std::string row;
        for (int i = 0; i < query.FieldCount(); ++i)
            row += (i ? "\t" : "") + FieldText(query.Fields(i));
        rows.push_back(row);
    }
    return rows;
}

void ScriptRunner::CheckQuery(const Record& record) {
    TDBQuery query;
    Prepare(query, record);
    query.Open();
    auto actual = Rows(query);
    auto expected = record.expected;
    if (record.rowsort) {
        std::sort(actual.begin(), actual.end());
        std::sort(expected.begin(), expected.end());
    }
    if (actual != expected)
        ADD_FAILURE_AT(file_.c_str(), record.line) << record.text << "expected:\n"
                                                   << Joined(expected) << "actual:\n"
                                                   << Joined(actual);
}

void ScriptRunner::CheckStatement(const Record& record) {
    TDBQuery query;
    Prepare(query, record);
    query.ExecSQL();
}

void ScriptRunner::Run(const Record& record) {
    int code = -1;
    std::string message;
    try {
        if (record.kind == Record::Kind::kQuery)
            CheckQuery(record);
        else
            CheckStatement(record);
        if (record.kind != Record::Kind::kStatementError) return;
    } catch (const EngineError& error) {
        code = error.code();
        message = error.what();
    } catch (const DataSetError& error) {
        code = 0;
        message = error.what();
    }
    if (record.kind == Record::Kind::kStatementError && code == record.errorCode) return;
    ADD_FAILURE_AT(file_.c_str(), record.line)
        << record.text
        << (record.kind == Record::Kind::kStatementError
                ? "expected error " + std::to_string(record.errorCode) + ", got "
                : std::string("unexpected error "))
        << (code < 0 ? std::string("success") : std::to_string(code) + " " + message);
}

// ---- One test per script ----

std::vector<fs::path> Scripts() {
    std::vector<fs::path> scripts;
    for (const auto& entry : fs::directory_iterator(fs::path(KX_TEST_DATA) / "engine" / "scripts"))
        if (entry.path().extension() == ".test") scripts.push_back(entry.path());
    std::sort(scripts.begin(), scripts.end());
    return scripts;
}

fs::path MakeTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "kx_scripts_XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}

enum class Backend { Folder, Server };

using ScriptCase = std::tuple<fs::path, Backend>;

class SqlScriptTest : public ::testing::TestWithParam<ScriptCase> {
  public:
    void RunAll(TDBDatabase& database) {
        auto records = ScriptReader(Script()).Read();
        ASSERT_FALSE(records.empty());
        ScriptRunner runner(Script().string(), database);
        for (const auto& record : records) runner.Run(record);
    }
    const fs::path& Script() const { return std::get<0>(GetParam()); }
};

void RunInFolder(SqlScriptTest& test, const fs::path& script,
                 void (SqlScriptTest::*run)(TDBDatabase&)) {
    fs::path folder = MakeTempFolder();
    {
        TDBDatabase database("SCRIPT_" + script.stem().string(), TDBSession::Default());
        database.SetDirectory(folder.string());
        (test.*run)(database);
    }
    fs::remove_all(folder);
}

TEST_P(SqlScriptTest, Runs) {
    if (std::get<1>(GetParam()) == Backend::Folder) {
        RunInFolder(*this, Script(), &SqlScriptTest::RunAll);
        return;
    }
    KX_NEED_SERVER();
    testing::ScratchDatabase scratch;
    TDBSession session("SCRIPT_SERVER_" + Script().stem().string());
    TDBDatabase database("SCRIPT", session);
    PointAtServer(session, database, scratch.address());
    RunAll(database);
}

INSTANTIATE_TEST_SUITE_P(Scripts, SqlScriptTest,
                         ::testing::Combine(::testing::ValuesIn(Scripts()),
                                            ::testing::Values(Backend::Folder, Backend::Server)),
                         [](const auto& info) {
                             return std::get<0>(info.param).stem().string() +
                                    (std::get<1>(info.param) == Backend::Server ? "_server"
                                                                                : "_folder");
                         });

}  // namespace
}  // namespace engine
