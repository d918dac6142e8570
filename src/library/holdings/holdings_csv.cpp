#include "library/holdings/holdings_csv.h"

#include <algorithm>
#include <set>

#include "library/holdings/columns.h"
#include "library/sql_rows.h"

namespace kashidashi::library::holdings {
namespace {

using engine::storage::Connection;

std::string Quoted(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string out = "\"";
    for (char c : field) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string TableCsv(Connection& connection, const std::vector<ColumnLabel>& columns,
                     const std::string& table, const std::set<int64_t>* only) {
    std::vector<std::string> names;
    std::string select;
    for (const auto& c : columns) {
        names.push_back(c.column);
        select += (select.empty() ? "" : ", ") + std::string(c.column);
    }
    auto rows = SelectRows(connection, "Select " + select + " From " + table).rows;
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        const auto& x = a.values[0];
        const auto& y = b.values[0];
        if (x.IsText() || y.IsText()) return TextOf(x) < TextOf(y);
        return IntegerOf(x) < IntegerOf(y);
    });
    std::string text = CsvLine(names) + "\r\n";
    for (const auto& row : rows) {
        if (only && !only->count(IntegerOf(row.values[0]))) continue;
        std::vector<std::string> fields;
        for (const auto& value : row.values) fields.push_back(DisplayText(value));
        text += CsvLine(fields) + "\r\n";
    }
    return text;
}

}  // namespace

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) line += (i ? "," : "") + Quoted(fields[i]);
    return line;
}

std::string UsersCsv(Connection& connection) {
    return TableCsv(connection, UserColumns(), "Name", nullptr);
}

std::string BooksCsv(Connection& connection, const std::vector<int64_t>& numbers) {
    const std::set<int64_t> only(numbers.begin(), numbers.end());
    return TableCsv(connection, BookColumns(), "Book", numbers.empty() ? nullptr : &only);
}

}  // namespace kashidashi::library::holdings
