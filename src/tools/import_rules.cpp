#include "tools/import_rules.h"

#include <map>

#include "engine/common/names.h"
#include "engine/common/value_convert.h"
#include "platform/cp932.h"
#include "tools/cell_convert.h"
#include "tools/isbn_rule.h"

namespace kashidashi::admin {
namespace {

using engine::storage::ColumnDef;

struct Header {
    std::vector<ColumnDef> columns;
    size_t keyIndex = 0;
};

std::string Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
}

std::vector<std::string> HeaderProblems(const ImportTarget& target,
                                        const engine::storage::TableSchema& table,
                                        const CsvRecord& record, Header& header) {
    std::vector<std::string> problems;
    for (size_t i = 0; i < record.fields.size(); ++i) {
        std::string name = Trimmed(record.fields[i]);
        auto column = table.FindColumn(name);
        if (name.empty()) {
            problems.push_back(std::to_string(i + 1) + "列目の見出しが空です");
        } else if (!column) {
            problems.push_back("列「" + name + "」は " + target.table + " 表にありません");
        } else {
            for (const auto& seen : header.columns) {
                if (engine::SameName(seen.name, name))
                    problems.push_back("列「" + name + "」が二度あります");
            }
            if (engine::SameName(name, target.keyColumn)) header.keyIndex = header.columns.size();
            header.columns.push_back(table.columns[*column]);
        }
    }
    bool hasKey = false;
    for (const auto& column : header.columns)
        hasKey |= engine::SameName(column.name, target.keyColumn);
    if (!hasKey) problems.push_back("キーの列 " + target.keyColumn + " がありません");
    return problems;
}

CellValue KeyCell(const ImportTarget& target, const ColumnDef& column, std::string_view text) {
    CellValue cell = ConvertCell(column, text);
    if (!cell.ok()) return cell;
    if (cell.value.IsNull()) return {{}, column.name + " が空です"};
    if (column.type.type == engine::FieldType::String &&
        platform::Cp932ByteLength(Trimmed(text)) > static_cast<size_t>(column.type.size))
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

// Reads one line into `row`; false, with its problems, when it is rejected.
bool ReadLine(const ImportTarget& target, const Header& header, const CsvRecord& record,
              ImportRow& row, std::vector<Rejection>& rejections) {
    if (record.fields.size() != header.columns.size()) {
        rejections.push_back({record.line, "列の数が見出しと合いません（見出し " +
                                               std::to_string(header.columns.size()) +
                                               "列、この行 " +
                                               std::to_string(record.fields.size()) + "列）"});
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
        if (i == header.keyIndex) row.key = cell.value;
        row.cells.emplace_back(header.columns[i].name, std::move(cell.value));
    }
    return good;
}

}  // namespace

ImportTarget UsersTarget() {
    return {"Name", "NAME_ID", "利用者", {{"mihenkyakuSU", engine::Value(0)}}, std::nullopt, {}};
}

ImportTarget BooksTarget() {
    Cells flags;
    for (const char* flag :
         {"kashidashiF", "yoyakuF", "kintaiF", "heikaF", "tenkenF", "haikiF", "sakujoF"})
        flags.emplace_back(flag, engine::Value(false));
    return {"Book", "BOOK_ID", "図書", std::move(flags), 1, {"ISBN"}};
}

ImportPlan PlanImport(const ImportTarget& target, const engine::storage::TableSchema& table,
                      const CsvText& csv) {
    ImportPlan plan;
    if (csv.records.empty() && !csv.error) {
        plan.rejections.push_back({1, "見出しの行がありません"});
        return plan;
    }
    Header header;
    if (!csv.records.empty()) {
        for (auto& problem : HeaderProblems(target, table, csv.records.front(), header))
            plan.rejections.push_back({csv.records.front().line, std::move(problem)});
    }
    if (plan.rejections.empty()) {
        std::map<std::string, int> firstLine;  // key text -> the line that has it
        for (size_t i = 1; i < csv.records.size(); ++i) {
            ImportRow row;
            if (!ReadLine(target, header, csv.records[i], row, plan.rejections)) continue;
            auto [seen, added] = firstLine.emplace(engine::ValueText(row.key), row.line);
            if (!added) {
                plan.rejections.push_back(
                    {row.line, target.keyColumn + "「" + engine::ValueText(row.key) + "」は " +
                                   std::to_string(seen->second) + "行目と重複しています"});
                continue;
            }
            plan.rows.push_back(std::move(row));
        }
    }
    if (csv.error) plan.rejections.push_back({csv.error->line, csv.error->reason});
    return plan;
}

}  // namespace kashidashi::admin
