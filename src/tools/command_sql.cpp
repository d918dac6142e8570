#include "tools/command_sql.h"

#include "engine/common/error.h"
#include "engine/common/names.h"
#include "engine/session/data_location.h"
#include "engine/sql/parser.h"
#include "engine/translate/statement_runner.h"
#include "tools/result_text.h"
#include "tools/sql_arguments.h"

namespace kashidashi::admin {
namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kWrongUse = 2;

engine::translate::ParamValues ValuesOf(const SqlArguments& arguments) {
    return [&arguments](const std::string& name) -> std::optional<engine::Value> {
        auto it = arguments.params.find(engine::LowerName(name));
        if (it == arguments.params.end()) return std::nullopt;
        return it->second;
    };
}

void RunStatement(const engine::sql::Statement& statement, engine::storage::Connection& connection,
                  const SqlArguments& arguments, std::ostream& out) {
    auto values = ValuesOf(arguments);
    if (auto* select = statement.As<engine::sql::SelectStmt>())
        PrintResult(engine::translate::RunQuery(*select, connection, values, arguments.text), out);
    else
        engine::translate::ExecuteStatement(statement, connection, values, arguments.text);
}

bool ChangesData(const std::vector<engine::sql::Statement>& statements) {
    for (const auto& statement : statements)
        if (!statement.ReturnsRows()) return true;
    return false;
}

void RunAll(const std::vector<engine::sql::Statement>& statements,
            engine::storage::Connection& connection, const SqlArguments& arguments,
            std::ostream& out) {
    for (const auto& statement : statements) RunStatement(statement, connection, arguments, out);
}

void RunText(const SqlArguments& arguments, std::ostream& out) {
    auto statements = engine::sql::ParseScript(arguments.text);
    auto connection = engine::OpenLocation(engine::RequireLocation(arguments.folder));
    // Reading alone needs no transaction, which would hold off the desks' writes.
    if (!ChangesData(statements)) return RunAll(statements, *connection, arguments, out);
    connection->Begin();
    try {
        RunAll(statements, *connection, arguments, out);
    } catch (...) {
        connection->Rollback();
        throw;
    }
    connection->Commit(true);
}

}  // namespace

int CommandSql(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string problem;
    auto arguments = ParseSqlArguments(args, problem);
    if (!arguments) {
        err << problem << "\n使い方: kashidashi-admin " << kSqlUsage << "\n";
        return kWrongUse;
    }
    try {
        RunText(*arguments, out);
    } catch (const engine::EngineError& error) {
        err << error.code() << " " << error.what() << "\n";
        return kFailed;
    } catch (const std::exception& error) {
        // Data set errors, and anything else, have no engine code.
        err << "0 " << error.what() << "\n";
        return kFailed;
    }
    return kDone;
}

}  // namespace kashidashi::admin
