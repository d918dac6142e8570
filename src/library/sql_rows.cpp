#include "library/sql_rows.h"

#include "engine/common/names.h"
#include "engine/sql/parser.h"
#include "engine/translate/statement_runner.h"

namespace kashidashi::library {

namespace {

engine::translate::ParamValues ValuesOf(const SqlParams& params) {
    return [&params](const std::string& name) -> std::optional<engine::Value> {
        auto it = params.find(engine::LowerName(name));
        if (it == params.end()) return std::nullopt;
        return it->second;
    };
}

}  // namespace

engine::storage::ResultSet SelectRows(engine::storage::Connection& connection,
                                      const std::string& text, const SqlParams& params) {
    auto statement = engine::sql::ParseStatement(text);
    const auto* select = statement.As<engine::sql::SelectStmt>();
    if (!select) throw std::logic_error("SelectRows: not a SELECT");
    return engine::translate::RunQuery(*select, connection, ValuesOf(params), text);
}

int64_t ExecuteRows(engine::storage::Connection& connection, const std::string& text,
                    const SqlParams& params) {
    auto statement = engine::sql::ParseStatement(text);
    return engine::translate::ExecuteStatement(statement, connection, ValuesOf(params), text);
}

int64_t IntegerOf(const engine::Value& value) {
    if (value.IsInteger()) return value.Integer();
    if (value.IsFloat()) return static_cast<int64_t>(value.Float());
    return 0;
}

std::string TextOf(const engine::Value& value) {
    return value.IsText() ? value.Text() : std::string();
}

std::optional<engine::Date> DateOf(const engine::Value& value) {
    if (value.IsDate()) return value.DateValue();
    if (value.IsDateTime())
        return engine::Date{
            static_cast<int32_t>(value.DateTimeValue().msecs / engine::kMsecsPerDay)};
    return std::nullopt;
}

}  // namespace kashidashi::library
