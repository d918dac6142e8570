// The progress of the stock check, the books not found and the texts of
// the scan answers (inventory.h). Reads only.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

#include "desk/entry_rules.h"
#include "library/inventory.h"
#include "library/sql_rows.h"

namespace kashidashi::library {
namespace {

using engine::Value;
using engine::storage::Connection;

constexpr const char* kUnset = "未設定";
constexpr int64_t kNoPlace = INT64_MAX;  // books without HKN_ID sort last

bool IsSet(const Value& flag) {
    return flag.IsBool() ? flag.Bool() : IntegerOf(flag) != 0;
}

double NumberOf(const Value& value) {
    return value.IsFloat() ? value.Float() : static_cast<double>(IntegerOf(value));
}

// The classification table's names by code: schools key it by class (0 to
// 9) or by division (910); a code the table lacks is counted by its hundreds.
std::map<double, std::string> ClassNames(Connection& connection) {
    std::map<double, std::string> names;
    for (const auto& row : SelectRows(connection, "Select NDC_ID, NDC From NDC").rows)
        if (!row.values[0].IsNull()) names[NumberOf(row.values[0])] = TextOf(row.values[1]);
    return names;
}

// The group of a book's NDC_ID: its code when the table knows it, else its
// hundreds (as "9類"); no code (or an impossible one) is kNoClass.
constexpr double kNoClass = 1e9;
double ClassKey(const Value& ndc, const std::map<double, std::string>& names) {
    const double value = NumberOf(ndc);
    if (ndc.IsNull() || !(value >= 0) || value >= 1000) return kNoClass;
    if (names.count(value)) return value;
    return -1000 + std::floor(value / 100);  // before the table's codes, apart from them
}

std::string ClassName(double key, const std::map<double, std::string>& names) {
    if (key == kNoClass) return kUnset;
    if (key < 0) return std::to_string(static_cast<int>(key + 1000)) + "類";
    char code[32];
    std::snprintf(code, sizeof code, "%g", key);
    return std::string(code) + " " + names.at(key);
}

std::map<int64_t, std::string> PlaceNames(Connection& connection) {
    std::map<int64_t, std::string> names;
    for (const auto& row : SelectRows(connection, "Select HKN_ID, HKN From HKN").rows)
        names[IntegerOf(row.values[0])] = TextOf(row.values[1]);
    return names;
}

template <typename Key>
void Count(std::map<Key, ProgressLine>& lines, Key key, bool checked) {
    ++lines[key].toCheck;
    if (checked) ++lines[key].checked;
}

}  // namespace

InventoryProgress ReadInventoryProgress(Connection& connection) {
    auto names = PlaceNames(connection);
    auto classNames = ClassNames(connection);
    auto rows =
        SelectRows(connection, "Select HKN_ID, NDC_ID, tenkenF, kashidashiF, haikiF From Book");
    InventoryProgress progress;
    std::map<int64_t, ProgressLine> places;
    std::map<double, ProgressLine> classes;
    for (const auto& row : rows.rows) {
        const auto& v = row.values;
        if (IsSet(v[3]) || IsSet(v[4])) continue;
        const bool checked = IsSet(v[2]);
        ++progress.toCheck;
        progress.checked += checked ? 1 : 0;
        Count(places, v[0].IsNull() ? kNoPlace : IntegerOf(v[0]), checked);
        Count(classes, ClassKey(v[1], classNames), checked);
    }
    for (auto& [code, line] : places) {
        auto it = names.find(code);
        line.group = code == kNoPlace    ? kUnset
                     : it != names.end() ? it->second
                                         : std::to_string(code);
        progress.byPlace.push_back(line);
    }
    for (auto& [key, line] : classes) {
        line.group = ClassName(key, classNames);
        progress.byClass.push_back(line);
    }
    return progress;
}

std::vector<ScannedBook> BooksNotFound(Connection& connection) {
    auto names = PlaceNames(connection);
    auto rows = SelectRows(connection,
                           "Select BOOK_ID, syomei2, seikyu, HKN_ID, tenkenF, kashidashiF,"
                           " haikiF From Book");
    std::vector<std::tuple<int64_t, std::string, int64_t, ScannedBook>> found;
    for (const auto& row : rows.rows) {
        const auto& v = row.values;
        if (IsSet(v[4]) || IsSet(v[5]) || IsSet(v[6])) continue;
        ScannedBook book{IntegerOf(v[0]), TextOf(v[1]), TextOf(v[2]), ""};
        const int64_t place = v[3].IsNull() ? kNoPlace : IntegerOf(v[3]);
        if (auto it = names.find(place); it != names.end()) book.place = it->second;
        std::string callNumber = book.callNumber;  // the tuple may build its last part first
        found.emplace_back(place, std::move(callNumber), book.number, std::move(book));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a), std::get<2>(a)) <
               std::tie(std::get<0>(b), std::get<1>(b), std::get<2>(b));
    });
    std::vector<ScannedBook> books;
    for (auto& entry : found) books.push_back(std::move(std::get<3>(entry)));
    return books;
}

bool IsLoud(ScanAnswer answer) {
    return answer != ScanAnswer::Checked && answer != ScanAnswer::AlreadyChecked;
}

std::string AnswerText(const ScanResult& result) {
    const std::string number = desk::BookNumberText(result.book.number);
    const std::string book = number + " " + result.book.title;
    switch (result.answer) {
        case ScanAnswer::Checked:
            return "点検しました: " + book;
        case ScanAnswer::AlreadyChecked:
            return "点検済みです: " + book;
        case ScanAnswer::OnLoan:
            return "貸出中の記録がある図書です。返却してください: " + book;
        case ScanAnswer::Discarded:
            return "廃棄済みの図書です: " + book;
        case ScanAnswer::Unknown:
            return result.book.number ? "登録されていない図書番号です: " + number
                                      : std::string("登録されていないISBNです。");
        case ScanAnswer::SeveralCopies:
            return "このISBNの図書は " + std::to_string(result.copies.size()) +
                   " 冊あります。どれか選んでください。";
        default:
            return "図書番号として読めません。";
    }
}

}  // namespace kashidashi::library
