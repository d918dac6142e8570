#include "opac/data_rows.h"

#include <stdexcept>

#include "engine/common/dates.h"
#include "engine/common/names.h"
#include "engine/sql/parser.h"
#include "engine/translate/statement_runner.h"

namespace kashidashi::opac {

engine::storage::ResultSet Select(engine::storage::Connection& data, const std::string& text,
                                  const Params& params) {
    auto statement = engine::sql::ParseStatement(text);
    const auto* select = statement.As<engine::sql::SelectStmt>();
    if (!select) throw std::logic_error("opac::Select: not a SELECT");
    auto values = [&params](const std::string& name) -> std::optional<engine::Value> {
        auto it = params.find(engine::LowerName(name));
        if (it == params.end()) return std::nullopt;
        return it->second;
    };
    return engine::translate::RunQuery(*select, data, values, text);
}

std::string TextOf(const engine::Value& value) {
    return value.IsText() ? value.Text() : std::string();
}

std::optional<int64_t> IntegerOf(const engine::Value& value) {
    if (value.IsInteger()) return value.Integer();
    if (value.IsFloat()) return static_cast<int64_t>(value.Float());
    return std::nullopt;
}

std::optional<double> NumberOf(const engine::Value& value) {
    if (value.IsFloat()) return value.Float();
    if (value.IsInteger()) return static_cast<double>(value.Integer());
    return std::nullopt;
}

std::optional<engine::Date> DateOf(const engine::Value& value) {
    if (value.IsDate()) return value.DateValue();
    if (value.IsDateTime()) return engine::DatePart(value.DateTimeValue());
    return std::nullopt;
}

bool FlagOf(const engine::Value& value) {
    if (value.IsBool()) return value.Bool();
    if (value.IsInteger()) return value.Integer() != 0;
    return false;
}

}  // namespace kashidashi::opac
