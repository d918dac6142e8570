#include "catalogue/book_record.h"

#include "data/book_fields.h"
#include "engine/common/value_convert.h"
#include "engine/dataset/dataset.h"
#include "engine/dataset/table.h"

namespace kashidashi::catalogue {
namespace {

// The book table's declared fields, for the widths and types of its columns.
const engine::TField* BookField(std::string_view column) {
    static const auto* book = [] {
        auto* table = new engine::TDBTable;
        DeclareBookFields(*table);
        return table;
    }();
    return book->FindField(column);
}

}  // namespace

void DataSetBookRecord::Edit() {
    const auto state = dataSet_.State();
    if (state != engine::DataSetState::dsEdit && state != engine::DataSetState::dsInsert)
        dataSet_.Edit();
}

std::string DataSetBookRecord::Text(std::string_view column) const {
    return dataSet_.FieldByName(column).AsString();
}

void DataSetBookRecord::Set(std::string_view column, const std::string& text) {
    dataSet_.FieldByName(column).SetAsString(text);
}

std::string MemoryBookRecord::Text(std::string_view column) const {
    const auto found = columns_.find(std::string(column));
    return found == columns_.end() ? std::string() : found->second;
}

void MemoryBookRecord::Set(std::string_view column, const std::string& text) {
    const engine::TField* field = BookField(column);
    const engine::Value stored =
        field ? engine::ToColumnValue(engine::Value(text), field->Type(), column)
              : engine::Value(text);
    if (stored.IsNull())
        columns_.erase(std::string(column));
    else
        columns_[std::string(column)] = engine::ValueText(stored);
}

}  // namespace kashidashi::catalogue
