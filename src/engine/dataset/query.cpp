// The statement side of a query: its text and parameters, opening a result
// and running statements.
#include "engine/dataset/query.h"

#include "engine/common/error.h"
#include "engine/sql/parser.h"
#include "engine/sql/source_position.h"
#include "engine/translate/select_binder.h"
#include "engine/translate/statement_runner.h"

namespace engine {
namespace {

translate::ParamValues ValuesOf(TParams& params) {
    return [&params](const std::string& name) -> std::optional<Value> {
        TParam* param = params.FindParam(name);
        if (!param || !param->Bound()) return std::nullopt;
        return param->GetValue();
    };
}

// Each result column's column in the one table a live result reads; nothing
// when the statement joins tables or computes a column.
std::optional<std::vector<int>> LiveColumns(const plan::Select& select) {
    if (select.from.size() != 1) return std::nullopt;
    std::vector<int> columns;
    for (const auto& column : select.columns) {
        auto* ref = std::get_if<plan::ColumnRef>(&column.value->node);
        if (!ref) return std::nullopt;
        columns.push_back(ref->column);
    }
    return columns;
}

}  // namespace

TDBQuery::TDBQuery() {
    sql_.OnChange = [this] { TextChanged(); };
}

TDBQuery::~TDBQuery() {
    Close();
}

std::string TDBQuery::DataSetName() const {
    return name_.empty() ? "SQL" : name_;
}

void TDBQuery::TextChanged() {
    // The text of an open query does not change under its result.
    if (Active()) Close();
    parsed_.reset();
    params_.Rebuild(sql::ParameterNames(sql_.Text()));
}

const std::vector<sql::Statement>& TDBQuery::Statements() {
    if (!parsed_) {
        parsedText_ = sql_.Text();
        parsed_ = sql::ParseScript(parsedText_);
    }
    if (parsed_->empty()) sql::ThrowSqlError(parsedText_, 0, "the query holds no statement");
    return *parsed_;
}

plan::Select TDBQuery::BindOpenStatement() {
    const auto& statements = Statements();
    if (statements.size() > 1)
        sql::ThrowSqlError(parsedText_, statements[1].offset,
                           "a query opens one statement; use ExecSQL for several");
    const auto* select = statements.front().As<sql::SelectStmt>();
    if (!select)
        sql::ThrowSqlError(parsedText_, statements.front().offset,
                           "the statement returns no rows; use ExecSQL");
    return translate::BindSelect(*select, Connection(), ValuesOf(params_), parsedText_);
}

void TDBQuery::StartLive(plan::Select& select) {
    auto columns = LiveColumns(select);
    if (!RequestLive || !columns) return;
    // A live result has its table open, as a table data set would.
    if (!Connection().TryUseTable(select.from[0].table.name, storage::TableUse::Shared))
        throw EngineError::Make(err::kTableLocked, select.from[0].table.name);
    live_ = select.from[0].table;
    liveColumns_ = std::move(*columns);
    select.withRowId = true;
}

void TDBQuery::Fetch(const plan::Select& select) {
    rows_ = Connection().Run(select).rows;
    if (MaxRowCount >= 0 && rows_.size() > static_cast<size_t>(MaxRowCount))
        rows_.resize(MaxRowCount);
    if (!live_) {
        nextCopyId_ = 1;
        for (auto& row : rows_) row.id = nextCopyId_++;
    }
    position_ = 0;
}

std::vector<storage::ColumnDef> TDBQuery::DoOpen() {
    plan::Select select = BindOpenStatement();
    name_ = select.from.front().table.name;
    StartLive(select);
    AttachToDatabase();
    try {
        Fetch(select);
    } catch (...) {
        DoClose();
        throw;
    }
    std::vector<storage::ColumnDef> columns;
    for (const auto& column : select.columns) columns.push_back({column.name, column.type});
    return columns;
}

void TDBQuery::DoClose() {
    if (live_) Connection().EndUseTable(live_->name, storage::TableUse::Shared);
    live_.reset();
    liveColumns_.clear();
    editBase_.reset();
    rows_.clear();
    position_ = 0;
    DetachFromDatabase();
}

void TDBQuery::ExecSQL() {
    const auto& statements = Statements();
    auto& connection = Connection();
    auto values = ValuesOf(params_);
    rowsAffected_ = 0;
    for (const auto& statement : statements)
        rowsAffected_ += translate::ExecuteStatement(statement, connection, values, parsedText_);
}

}  // namespace engine
