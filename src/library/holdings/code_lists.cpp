#include "library/holdings/code_lists.h"

#include <algorithm>
#include <map>

#include "engine/common/value_convert.h"
#include "library/holdings/columns.h"
#include "library/sql_rows.h"

namespace kashidashi::library::holdings {
namespace {

using engine::Value;
using engine::storage::Connection;

std::string CodeText(const Value& code) {
    return engine::ValueText(code);
}

// Codes as the key column's type compares them.
double Numeric(const Value& code) {
    return code.IsFloat() ? code.Float() : static_cast<double>(IntegerOf(code));
}

// The rows using `code`: their count and the first few as the operator
// knows them.
std::pair<int64_t, std::vector<std::string>> Users(Connection& connection, const CodeListInfo& info,
                                                   const Value& code) {
    const bool users = std::string(info.usedBy) == "Name";
    auto rows = SelectRows(connection,
                           std::string("Select ") + (users ? "NAME" : "BOOK_ID, syomei2") +
                               " From " + info.usedBy + " Where " + info.usedColumn + "=:PM1",
                           {{"pm1", code}});
    std::vector<std::string> names;
    for (const auto& row : rows.rows) {
        if (names.size() == 3) break;
        names.push_back(users ? TextOf(row.values[0])
                              : std::to_string(IntegerOf(row.values[0])) + " " +
                                    TextOf(row.values[1]));
    }
    return {static_cast<int64_t>(rows.rows.size()), names};
}

bool Exists(Connection& connection, const CodeListInfo& info, const Value& code) {
    return !SelectRows(connection,
                       std::string("Select ") + info.keyColumn + " From " + info.table + " Where " +
                           info.keyColumn + "=:PM1",
                       {{"pm1", code}})
                .rows.empty();
}

Value NameValue(Connection& connection, const CodeListInfo& info, const std::string& name) {
    if (name.empty()) throw Refused("名前を入れてください");
    const auto layout = LayoutOf(connection, info.table);
    auto value = ColumnValue(layout, info.nameColumn, name);
    return value;
}

}  // namespace

const std::vector<CodeListInfo>& CodeLists() {
    static const std::vector<CodeListInfo> lists{
        {CodeList::Classes, "SYOZOKU", "SYOZOKU_ID", "SYOZOKU", "所属", "Name", "syozoku_ID"},
        {CodeList::Places, "HKN", "HKN_ID", "HKN", "保管場所", "Book", "HKN_ID"},
        {CodeList::Ndc, "NDC", "NDC_ID", "NDC", "分類（NDC）", "Book", "NDC_ID"},
        {CodeList::Funds, "ZAIGEN", "ZAIGEN_ID", "ZAIGEN", "購入財源", "Book", "ZAIGEN_ID"},
        {CodeList::Suppliers, "UKEIRE", "UKEIRE_ID", "UKEIRE", "受入先", "Book", "UKEIRE_ID"},
    };
    return lists;
}

const CodeListInfo& InfoOf(CodeList list) {
    for (const auto& info : CodeLists())
        if (info.list == list) return info;
    return CodeLists().front();
}

std::string ListTitle(CodeList list) {
    return InfoOf(list).title;
}

std::vector<CodeEntry> ReadCodes(Connection& connection, CodeList list) {
    const auto& info = InfoOf(list);
    std::map<double, int64_t> used;
    for (const auto& row :
         SelectRows(connection, std::string("Select ") + info.usedColumn + " From " + info.usedBy)
             .rows)
        if (!row.values[0].IsNull()) ++used[Numeric(row.values[0])];
    std::vector<CodeEntry> entries;
    for (const auto& row : SelectRows(connection, std::string("Select ") + info.keyColumn + ", " +
                                                      info.nameColumn + " From " + info.table)
                               .rows) {
        CodeEntry entry{row.values[0], CodeText(row.values[0]), TextOf(row.values[1]), 0};
        if (auto it = used.find(Numeric(entry.code)); it != used.end()) entry.used = it->second;
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(), [](const CodeEntry& a, const CodeEntry& b) {
        return Numeric(a.code) < Numeric(b.code);
    });
    return entries;
}

bool IsKnownCode(Connection& connection, CodeList list, const Value& code) {
    if (code.IsNull() || Numeric(code) == 0) return true;  // none
    return Exists(connection, InfoOf(list), code);
}

Value CodeOf(Connection& connection, CodeList list, const std::string& codeText) {
    const auto& info = InfoOf(list);
    const auto layout = LayoutOf(connection, info.table);
    Value code = ColumnValue(layout, info.keyColumn, codeText);
    if (code.IsNull()) throw Refused("コードを入れてください");
    return code;
}

void AddCode(Connection& connection, CodeList list, const std::string& codeText,
             const std::string& name) {
    const auto& info = InfoOf(list);
    const Value code = CodeOf(connection, list, codeText);
    const Value value = NameValue(connection, info, name);
    if (Exists(connection, info, code))
        throw Refused(std::string(info.title) + "のコード " + CodeText(code) + " はもうあります");
    ExecuteRows(connection,
                std::string("Insert Into ") + info.table + " (" + info.keyColumn + ", " +
                    info.nameColumn + ") Values (:PM1, :PM2)",
                {{"pm1", code}, {"pm2", value}});
}

void RenameCode(Connection& connection, CodeList list, const std::string& codeText,
                const std::string& name) {
    const auto& info = InfoOf(list);
    const Value code = CodeOf(connection, list, codeText);
    const Value value = NameValue(connection, info, name);
    if (ExecuteRows(connection,
                    std::string("Update ") + info.table + " Set " + info.nameColumn +
                        "=:PM1 Where " + info.keyColumn + "=:PM2",
                    {{"pm1", value}, {"pm2", code}}) == 0)
        throw Refused(std::string(info.title) + "のコード " + CodeText(code) + " はありません");
}

void RemoveCode(Connection& connection, CodeList list, const std::string& codeText) {
    const auto& info = InfoOf(list);
    const Value code = CodeOf(connection, list, codeText);
    auto [count, names] = Users(connection, info, code);
    if (count > 0) {
        std::string who;
        for (const auto& n : names) who += (who.empty() ? "" : "、") + n;
        const bool users = std::string(info.usedBy) == "Name";
        throw Refused(std::string(info.title) + "「" + CodeText(code) + "」は " +
                      std::to_string(count) + (users ? " 人" : " 冊") +
                      "が使っているので削除できません（" + who +
                      (count > static_cast<int64_t>(names.size()) ? " ほか" : "") + "）");
    }
    if (ExecuteRows(connection,
                    std::string("Delete From ") + info.table + " Where " + info.keyColumn + "=:PM1",
                    {{"pm1", code}}) == 0)
        throw Refused(std::string(info.title) + "のコード " + CodeText(code) + " はありません");
}

}  // namespace kashidashi::library::holdings
