// Queries: a data set over the result of a statement of the engine's dialect.
//
// SQL holds the text as lines; replacing it (only while the query is closed)
// rebuilds Params from the text, keeping the values of parameters whose names
// stay. Open runs a statement that returns rows; ExecSQL runs any other
// statement (several, separated by ";", run in turn).
//
// A result is live when RequestLive is set and the statement reads one table
// without joins: its rows are that table's rows, and editing and posting
// through the query change the table row under the same row locks as a
// table. Otherwise the result is a private copy made when the query opens;
// edits change only the copy. MaxRowCount -1 means no limit.
//
// The text is parsed once and kept until it changes. Open and ExecSQL bind
// the statements with the parameters' current values; a parameter that has
// none fails them with the SQL error 11949 naming it and its place. Open
// runs exactly one SELECT; ExecSQL runs every statement of the text (a
// SELECT among them is read and dropped) and RowsAffected is the sum of the
// rows they changed. Refresh runs the statement again.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/dataset/db_dataset.h"
#include "engine/dataset/params.h"
#include "engine/sql/ast.h"
#include "engine/storage/plan.h"
#include "engine/storage/schema.h"

namespace engine {

class RowWriter;

class TDBQuery : public TDBDataSet {
  public:
    TDBQuery();
    ~TDBQuery() override;

    TStrings& SQL() { return sql_; }
    TParams& Params() { return params_; }
    TParam& ParamByName(std::string_view name) { return params_.ParamByName(name); }
    bool RequestLive = false;
    int MaxRowCount = -1;

    void ExecSQL();
    int64_t RowsAffected() const { return rowsAffected_; }
    bool IsLive() const { return live_.has_value(); }

    std::string DataSetName() const override;

  protected:
    std::vector<storage::ColumnDef> DoOpen() override;
    void DoClose() override;
    std::optional<storage::Row> DoFirst() override;
    std::optional<storage::Row> DoLast() override;
    std::optional<storage::Row> DoNext() override;
    std::optional<storage::Row> DoPrior() override;
    int64_t DoRecordCount() override;
    std::vector<storage::Row> DoAllRows() override;
    storage::Row DoBeginEdit(const storage::Row& row) override;
    void DoEndEdit(const storage::Row& row) override;
    storage::Row DoPostEdit(const storage::Row& original,
                            const std::vector<Value>& values) override;
    storage::Row DoPostInsert(std::vector<Value> values) override;
    std::optional<storage::Row> DoDelete(const storage::Row& row) override;
    std::optional<storage::Row> DoRefresh(const storage::Row* current) override;
    std::optional<storage::Row> DoSeek(const storage::Row& row) override;

  private:
    void TextChanged();
    const std::vector<sql::Statement>& Statements();
    plan::Select BindOpenStatement();
    void StartLive(plan::Select& select);
    void Fetch(const plan::Select& select);
    std::optional<storage::Row> RowAt(size_t position);
    size_t PositionOf(const storage::Row& row) const;
    storage::Row ResultRow(const storage::Row& tableRow) const;
    std::vector<Value> TableValues(const std::vector<Value>& resultValues,
                                   std::vector<Value> base) const;
    RowWriter Writer() const;

    TStrings sql_;
    TParams params_;
    int64_t rowsAffected_ = 0;
    std::string parsedText_;
    std::optional<std::vector<sql::Statement>> parsed_;  // of parsedText_, until the text changes
    std::string name_;  // the first table of the open statement, for error texts
    std::vector<storage::Row> rows_;
    size_t position_ = 0;
    storage::RowId nextCopyId_ = 1;             // a private copy numbers its rows itself
    std::optional<storage::TableSchema> live_;  // the table of a live result
    std::vector<int> liveColumns_;              // each result column's column in live_
    std::optional<storage::Row> editBase_;      // live: the table row as the edit found it
};

}  // namespace engine
