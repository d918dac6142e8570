#include "engine/dataset/table.h"

#include "engine/common/error.h"
#include "engine/common/names.h"
#include "engine/common/value_convert.h"
#include "engine/dataset/row_writer.h"
#include "engine/dataset/table_cursor.h"
#include "engine/session/database.h"
#include "engine/sql/parser.h"
#include "engine/translate/expr_binder.h"

namespace engine {

TDBTable::TDBTable() = default;

TDBTable::~TDBTable() {
    Close();
}

void TDBTable::SetTableName(const std::string& name) {
    if (name == tableName_) return;
    if (Active()) Close();
    tableName_ = name;
}

void TDBTable::SetIndexName(const std::string& name) {
    indexName_ = name;
    indexFieldNames_.clear();
    Reorder();
}

void TDBTable::SetIndexFieldNames(const std::string& names) {
    indexFieldNames_ = names;
    indexName_.clear();
    Reorder();
}

void TDBTable::SetFilter(const std::string& filter) {
    filter_ = filter;
    Refilter();
}

void TDBTable::SetFiltered(bool filtered) {
    filtered_ = filtered;
    Refilter();
}

void TDBTable::SetExclusive(bool exclusive) {
    if (Active() && exclusive != exclusive_) Close();
    exclusive_ = exclusive;
}

const storage::TableSchema& TDBTable::Schema() const {
    if (!schema_) throw DataSetError("テーブル '" + tableName_ + "' が開いていません");
    return *schema_;
}

bool TDBTable::Exists() const {
    return Connection().DescribeTable(tableName_).has_value();
}

// The columns of the current order: those IndexFieldNames lists (whether or
// not an index has them), else those of IndexName's index or of the primary
// index; none for a table kept in insertion order.
std::vector<int> TDBTable::OrderColumns() const {
    std::vector<std::string> names;
    if (!indexFieldNames_.empty()) {
        names = SplitNames(indexFieldNames_);
    } else if (!indexName_.empty()) {
        const storage::IndexDef* index = schema_->FindIndex(indexName_);
        if (!index)
            throw DataSetError("インデックス '" + indexName_ + "' がテーブル '" + tableName_ +
                               "' にありません");
        names = index->columns;
    } else if (const storage::IndexDef* primary = schema_->PrimaryIndex()) {
        names = primary->columns;
    }
    std::vector<int> columns;
    for (const auto& name : names) {
        auto column = schema_->FindColumn(name);
        if (!column) throw DataSetError::FieldNotFound(name);
        columns.push_back(*column);
    }
    return columns;
}

void TDBTable::MakeCursor() {
    boundFilter_.reset();
    if (filtered_ && !filter_.empty()) {
        translate::Scope scope{{schema_->name, &*schema_}};
        auto noParams = [](const std::string& name) -> Value {
            throw DataSetError::ParamNotFound(name);
        };
        auto expr = sql::ParseExpression(filter_);
        boundFilter_ = translate::ExprBinder(scope, noParams, filter_).Bind(*expr);
    }
    cursor_ =
        std::make_unique<TableCursor>(Connection(), *schema_, OrderColumns(), boundFilter_.get());
}

void TDBTable::Reorder() {
    if (!Active()) return;
    CheckBrowseMode();
    MakeCursor();
    // The current row stays current in the new order.
    if (const storage::Row* row = CurrentRow()) {
        cursor_->StandOn(*row);
        NotifyDataSetChanged(DataSetChange::Rows);
    } else {
        SetCurrent(cursor_->First(), DataSetChange::Rows);
    }
}

void TDBTable::Refilter() {
    if (!Active()) return;
    CheckBrowseMode();
    MakeCursor();
    SetCurrent(cursor_->First(), DataSetChange::Rows);
}

Value TDBTable::Lookup(std::string_view keyFields, const std::vector<Value>& keyValues,
                       std::string_view resultField) {
    RequireActive();
    auto names = SplitNames(keyFields);
    plan::Logical all{true, {}};
    for (size_t i = 0; i < names.size(); ++i) {
        auto column = schema_->FindColumn(names[i]);
        if (!column) throw DataSetError::FieldNotFound(names[i]);
        const auto& def = schema_->columns[*column];
        Value key =
            KeyValueFor(i < keyValues.size() ? keyValues[i] : Value(), FieldByName(names[i]));
        all.terms.push_back(plan::Make(
            plan::Compare{plan::CompareOp::Eq, plan::Make(plan::ColumnRef{0, *column, def.type}),
                          plan::Make(plan::Literal{key})}));
    }
    auto result = schema_->FindColumn(resultField);
    if (!result) throw DataSetError::FieldNotFound(resultField);
    auto where = plan::Make(std::move(all));
    TableCursor search(Connection(), *schema_, cursor_->Order(), where.get());
    auto row = search.First();
    return row ? row->values[*result] : Value();
}

}  // namespace engine
