// Writing the catalogue: a new book, a copy, an edit.
#include "engine/common/dates.h"
#include "engine/common/names.h"
#include "library/holdings/books.h"
#include "library/holdings/code_lists.h"
#include "library/holdings/columns.h"
#include "library/holdings/row_lock.h"
#include "library/sql_rows.h"

namespace kashidashi::library::holdings {
namespace {

using engine::Value;
using engine::storage::Connection;

bool Editable(const std::string& column) {
    for (const auto& c : BookColumns())
        if (engine::SameName(c.column, column)) return true;
    return false;
}

// The stored value of a column's text; the ISBN as its twelve digits.
Value BookValue(const engine::storage::TableSchema& layout, const std::string& column,
                const std::string& text) {
    if (engine::SameName(column, "ISBN") && !text.empty()) {
        auto isbn = StoredIsbn(text);
        if (!isbn) throw Refused("ISBN「" + text + "」は10桁か13桁の数字にしてください");
        return Value(*isbn);
    }
    return ColumnValue(layout, column, text);
}

// The code columns and the lists that hold their codes.
constexpr std::pair<const char*, CodeList> kCodeColumns[] = {
    {"HKN_ID", CodeList::Places},
    {"NDC_ID", CodeList::Ndc},
    {"ZAIGEN_ID", CodeList::Funds},
    {"UKEIRE_ID", CodeList::Suppliers},
};

void CheckCodes(Connection& connection, const engine::storage::TableSchema& layout,
                const BookFields& fields, std::vector<std::string>& problems) {
    for (const auto& [column, list] : kCodeColumns) {
        auto it = fields.find(column);
        if (it == fields.end() || it->second.empty()) continue;
        Value value;
        try {
            value = ColumnValue(layout, column, it->second);
        } catch (const Refused&) {
            continue;  // said by the texts' check
        }
        if (!IsKnownCode(connection, list, value))
            problems.push_back(LabelOf(column) + "のコード " + it->second + " は" +
                               ListTitle(list) + "の一覧にありません");
    }
}

}  // namespace

std::vector<std::string> BookProblems(Connection& connection, const BookFields& fields) {
    const auto layout = LayoutOf(connection, "Book");
    std::vector<std::string> problems;
    for (const auto& [column, text] : fields) {
        if (!Editable(column)) continue;
        try {
            BookValue(layout, column, text);
        } catch (const Refused& refused) {
            problems.push_back(refused.what());
        }
    }
    CheckCodes(connection, layout, fields, problems);
    return problems;
}

int64_t AddBook(Connection& connection, BookFields fields) {
    if (fields["BOOK_ID"].empty()) fields["BOOK_ID"] = std::to_string(NextBookNumber(connection));
    if (fields["tourokubi"].empty()) fields["tourokubi"] = engine::FormatDate(engine::Today());
    auto problems = BookProblems(connection, fields);
    const auto layout = LayoutOf(connection, "Book");
    int64_t number = 0;
    if (problems.empty()) {
        number = IntegerOf(BookValue(layout, "BOOK_ID", fields["BOOK_ID"]));
        if (number < 1)
            problems.push_back("図書番号は1以上の整数にしてください");
        else if (ReadBook(connection, number))
            problems.push_back("図書番号 " + std::to_string(number) + " の本はもうあります");
    }
    if (!problems.empty()) {
        std::string text;
        for (const auto& p : problems) text += (text.empty() ? "" : "\n") + p;
        throw Refused(text);
    }
    std::string columns, values;
    SqlParams params;
    int i = 0;
    auto add = [&](const std::string& column, const Value& value) {
        const std::string name = "p" + std::to_string(i++);
        columns += (columns.empty() ? "" : ", ") + column;
        values += (values.empty() ? ":" : ", :") + name;
        params[name] = value;
    };
    const auto flag = [](const std::string& c) { return c == "kintaiF" || c == "heikaF"; };
    for (const auto& [column, text] : fields)
        if (Editable(column) && !(flag(column) && text.empty()))
            add(column, BookValue(layout, column, text));
    for (const char* flag : {"kashidashiF", "yoyakuF", "tenkenF", "haikiF", "sakujoF"})
        add(flag, Value(false));
    for (const char* flag : {"kintaiF", "heikaF"})
        if (!fields.count(flag) || fields[flag].empty()) add(flag, Value(false));
    ExecuteRows(connection, "Insert Into Book (" + columns + ") Values (" + values + ")", params);
    return number;
}

int64_t AddCopy(Connection& connection, int64_t number) {
    auto fields = ReadBook(connection, number);
    if (!fields) throw Refused("図書番号 " + std::to_string(number) + " の本はありません");
    BookFields copy;
    for (const auto& c : BookColumns()) copy[c.column] = (*fields)[c.column];
    copy["BOOK_ID"] = "";
    copy["tourokubi"] = "";
    return AddBook(connection, copy);
}

std::vector<std::string> SaveBook(Connection& connection, int64_t number, const BookFields& loaded,
                                  const BookFields& edited) {
    BookFields changed;
    for (const auto& [column, text] : edited) {
        if (!Editable(column) || engine::SameName(column, "BOOK_ID")) continue;
        auto was = loaded.find(column);
        if (was == loaded.end() || was->second != text) changed[column] = text;
    }
    if (changed.empty()) return {};
    auto problems = BookProblems(connection, changed);
    if (!problems.empty()) {
        std::string text;
        for (const auto& p : problems) text += (text.empty() ? "" : "\n") + p;
        throw Refused(text);
    }
    const auto layout = LayoutOf(connection, "Book");
    ColumnChanges changes;
    std::vector<std::string> written;
    for (const auto& [column, text] : changed) {
        changes.push_back({column, BookValue(layout, column, text)});
        written.push_back(column);
    }
    WriteColumns(connection, "Book", "BOOK_ID", Value(number), changes);
    return written;
}

}  // namespace kashidashi::library::holdings
