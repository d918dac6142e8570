#include "exchange/import_rules.h"

#include <map>
#include <optional>

#include "engine/common/names.h"
#include "engine/common/value_convert.h"
#include "exchange/cell_convert.h"
#include "exchange/isbn_rule.h"
#include "platform/cp932.h"

namespace kashidashi::exchange {
namespace {

using engine::storage::ColumnDef;

struct Header {
    std::vector<ColumnDef> columns;
    std::optional<size_t> keyIndex;
};

std::string Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

// Why the header's `position`th name (from 0) names no further column.
std::optional<std::string> NameProblem(const ImportTarget& target,
                                       const engine::storage::TableSchema& table,
                                       const Header& header, const std::string& name,
                                       size_t position) {
    if (name.empty()) return std::to_string(position + 1) + "列目の見出しが空です";
    if (!table.FindColumn(name)) return "列「" + name + "」は " + target.table + " 表にありません";
    for (const auto& seen : header.columns) {
        if (engine::SameName(seen.name, name)) return "列「" + name + "」が二度あります";
    }
    return std::nullopt;
}

std::vector<std::string> HeaderProblems(const ImportTarget& target,
                                        const engine::storage::TableSchema& table,
                                        const CsvRecord& record, Header& header) {
    std::vector<std::string> problems;
    for (size_t i = 0; i < record.fields.size(); ++i) {
        std::string name = Trimmed(record.fields[i]);
        if (auto problem = NameProblem(target, table, header, name, i)) {
            problems.push_back(std::move(*problem));
            continue;
        }
        if (engine::SameName(name, target.keyColumn)) header.keyIndex = header.columns.size();
        header.columns.push_back(table.columns[*table.FindColumn(name)]);
    }
    if (!header.keyIndex) problems.push_back("キーの列 " + target.keyColumn + " がありません");
    return problems;
}

// A key is never cut: a cut key could name another row.
CellValue KeyCell(const ImportTarget& target, const ColumnDef& column, std::string_view field) {
    const std::string text = Trimmed(field);
    CellValue cell = ConvertCell(column, text);
    if (!cell.ok()) return cell;
    if (cell.value.IsNull()) return {{}, column.name + " が空です"};
    if (column.type.type == engine::FieldType::String &&
        platform::Cp932ByteLength(text) > static_cast<size_t>(column.type.size))
        return {{},
                CellError(column.name, text,
                          "長すぎます（" + std::to_string(column.type.size) + "バイトまで）")};
    if (target.lowestKey && cell.value.IsInteger() && cell.value.Integer() < *target.lowestKey)
        return {{},
                CellError(column.name, text,
                          "使えません（" + std::to_string(*target.lowestKey) + "以上の整数）")};
    return cell;
}

CellValue ColumnCell(const ImportTarget& target, const ColumnDef& column, std::string_view text) {
    if (engine::SameName(column.name, target.keyColumn)) return KeyCell(target, column, text);
    for (const auto& isbn : target.isbnColumns) {
        if (engine::SameName(column.name, isbn)) return IsbnCell(column.name, text);
    }
    return ConvertCell(column, text);
}

std::string FieldCountProblem(const Header& header, const CsvRecord& record) {
    return "列の数が見出しと合いません（見出し " + std::to_string(header.columns.size()) +
           "列、この行 " + std::to_string(record.fields.size()) + "列）";
}

// Reads one line into `row`; false, with its problems, when it is rejected.
bool ReadLine(const ImportTarget& target, const Header& header, const CsvRecord& record,
              ImportRow& row, std::vector<Rejection>& rejections) {
    if (record.fields.size() != header.columns.size()) {
        rejections.push_back({record.line, FieldCountProblem(header, record)});
        return false;
    }
    bool good = true;
    row.line = record.line;
    for (size_t i = 0; i < header.columns.size(); ++i) {
        CellValue cell = ColumnCell(target, header.columns[i], record.fields[i]);
        if (!cell.ok()) {
            rejections.push_back({record.line, cell.error});
            good = false;
            continue;
        }
        if (i == *header.keyIndex) row.key = cell.value;
        row.cells.emplace_back(header.columns[i].name, std::move(cell.value));
    }
    return good;
}

// Every line after the header: its row, or its rejections.
void ReadLines(const ImportTarget& target, const Header& header,
               const std::vector<CsvRecord>& records, ImportPlan& plan) {
    std::map<std::string, int> firstLine;  // key text -> the line that has it
    for (size_t i = 1; i < records.size(); ++i) {
        ImportRow row;
        if (!ReadLine(target, header, records[i], row, plan.rejections)) continue;
        const std::string key = engine::ValueText(row.key);
        auto [seen, added] = firstLine.emplace(key, row.line);
        if (added) {
            plan.rows.push_back(std::move(row));
        } else {
            plan.rejections.push_back({row.line, target.keyColumn + "「" + key + "」は " +
                                                     std::to_string(seen->second) +
                                                     "行目と重複しています"});
        }
    }
}

}  // namespace

ImportTarget UsersTarget() {
    return {"Name", "NAME_ID", {{"mihenkyakuSU", engine::Value(0)}}, std::nullopt, {}};
}

ImportTarget BooksTarget() {
    Cells flags;
    for (const char* flag :
         {"kashidashiF", "yoyakuF", "kintaiF", "heikaF", "tenkenF", "haikiF", "sakujoF"})
        flags.emplace_back(flag, engine::Value(false));
    return {"Book", "BOOK_ID", std::move(flags), 1, {"ISBN"}};
}

ImportPlan PlanImport(const ImportTarget& target, const engine::storage::TableSchema& table,
                      const CsvText& csv) {
    ImportPlan plan;
    Header header;
    if (csv.records.empty() && !csv.error) plan.rejections.push_back({1, "見出しの行がありません"});
    if (!csv.records.empty()) {
        for (auto& problem : HeaderProblems(target, table, csv.records.front(), header))
            plan.rejections.push_back({csv.records.front().line, std::move(problem)});
    }
    if (plan.rejections.empty()) ReadLines(target, header, csv.records, plan);
    if (csv.error) plan.rejections.push_back({csv.error->line, csv.error->reason});
    return plan;
}

}  // namespace kashidashi::exchange
