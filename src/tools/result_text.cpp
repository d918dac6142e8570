#include "tools/result_text.h"

#include "engine/common/value_convert.h"

namespace kashidashi::admin {

std::string FieldText(const engine::Value& value) {
    return value.IsNull() ? "NULL" : engine::ValueText(value);
}

void PrintResult(const engine::storage::ResultSet& result, std::ostream& out) {
    for (size_t i = 0; i < result.columns.size(); ++i)
        out << (i ? "\t" : "") << result.columns[i].name;
    out << "\n";
    for (const auto& row : result.rows) {
        for (size_t i = 0; i < row.values.size(); ++i)
            out << (i ? "\t" : "") << FieldText(row.values[i]);
        out << "\n";
    }
}

}  // namespace kashidashi::admin
