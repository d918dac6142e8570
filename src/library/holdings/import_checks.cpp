#include "library/holdings/import_checks.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "engine/common/names.h"
#include "engine/common/value_convert.h"
#include "library/affiliation.h"
#include "library/holdings/code_lists.h"
#include "library/sql_rows.h"

namespace kashidashi::library::holdings {
namespace {

using engine::Value;
using engine::storage::Connection;

const Value* CellOf(const exchange::ImportRow& row, const char* column) {
    for (const auto& [name, value] : row.cells)
        if (engine::SameName(name, column)) return &value;
    return nullptr;
}

double NumberOf(const Value& code) {
    return code.IsFloat() ? code.Float() : static_cast<double>(IntegerOf(code));
}

struct Holder {
    std::string nameId, name;
    int line = 0;  // 0: as Name has it
};

void CheckPupilNumbers(Connection& connection, const std::vector<exchange::ImportRow>& rows,
                       std::vector<exchange::Rejection>& problems) {
    std::map<std::string, std::string> pupilOf, nameOf;  // NAME_ID -> as Name has it
    for (const auto& row :
         SelectRows(connection, "Select NAME_ID, seito_No, NAME From Name").rows) {
        pupilOf[TextOf(row.values[0])] = TextOf(row.values[1]);
        nameOf[TextOf(row.values[0])] = TextOf(row.values[2]);
    }
    std::map<std::string, int> lineOf;  // NAME_ID -> the file's line
    for (const auto& row : rows) {
        const std::string id = engine::ValueText(row.key);
        lineOf[id] = row.line;
        if (const Value* pupil = CellOf(row, "seito_No")) pupilOf[id] = engine::ValueText(*pupil);
        if (const Value* name = CellOf(row, "NAME")) nameOf[id] = engine::ValueText(*name);
    }
    // Every pupil number once the file is in: who holds it, the file's lines first.
    std::map<std::string, std::vector<Holder>> holders;
    for (const auto& [id, pupil] : pupilOf) {
        if (pupil.empty()) continue;
        auto line = lineOf.find(id);
        holders[pupil].push_back({id, nameOf[id], line == lineOf.end() ? 0 : line->second});
    }
    for (auto& [pupil, list] : holders) {
        if (list.size() < 2) continue;
        std::sort(list.begin(), list.end(), [](const Holder& a, const Holder& b) {
            return (a.line == 0 ? INT32_MAX : a.line) < (b.line == 0 ? INT32_MAX : b.line);
        });
        const Holder& first = list.front();
        for (size_t i = 1; i < list.size(); ++i) {
            const Holder& other = list[i];
            if (other.line == 0 && first.line != 0)
                problems.push_back({first.line, "生徒番号 " + pupil + " は " + other.name +
                                                    " さん（固定番号 " + other.nameId +
                                                    "）が使っています"});
            else if (other.line != 0)
                problems.push_back({other.line, "生徒番号 " + pupil + " は " +
                                                    std::to_string(first.line) +
                                                    "行目と重複しています"});
        }
    }
}

void CheckClasses(Connection& connection, const std::vector<exchange::ImportRow>& rows,
                  std::vector<exchange::Rejection>& problems) {
    const auto classes = ReadAffiliations(connection);
    for (const auto& row : rows) {
        const Value* code = CellOf(row, "syozoku_ID");
        if (!code || code->IsNull()) continue;
        if (!classes.count(IntegerOf(*code)))
            problems.push_back({row.line, "所属コード " + engine::ValueText(*code) +
                                              " は SYOZOKU 表にありません"});
    }
}

}  // namespace

std::vector<exchange::Rejection> UserImportProblems(Connection& connection,
                                                    const std::vector<exchange::ImportRow>& rows) {
    std::vector<exchange::Rejection> problems;
    CheckPupilNumbers(connection, rows, problems);
    CheckClasses(connection, rows, problems);
    std::stable_sort(problems.begin(), problems.end(),
                     [](const auto& a, const auto& b) { return a.line < b.line; });
    return problems;
}

std::vector<exchange::Rejection> BookImportProblems(Connection& connection,
                                                    const std::vector<exchange::ImportRow>& rows) {
    std::vector<exchange::Rejection> problems;
    std::map<CodeList, std::set<double>> known;
    for (const auto& info : CodeLists())
        if (std::string(info.usedBy) == "Book")
            for (const auto& entry : ReadCodes(connection, info.list))
                known[info.list].insert(NumberOf(entry.code));
    for (const auto& row : rows)
        for (const auto& info : CodeLists()) {
            if (std::string(info.usedBy) != "Book") continue;
            const Value* code = CellOf(row, info.usedColumn);
            if (code && !code->IsNull() && NumberOf(*code) != 0 &&
                !known[info.list].count(NumberOf(*code)))
                problems.push_back({row.line, std::string(info.title) + "のコード " +
                                                  engine::ValueText(*code) + " は " + info.table +
                                                  " 表にありません"});
        }
    return problems;
}

}  // namespace kashidashi::library::holdings
