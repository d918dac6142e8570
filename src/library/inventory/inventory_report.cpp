// The progress of the stock check, the books not found and the texts of
// the scan answers (inventory.h). Reads only.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

#include "desk/entry_rules.h"
#include "library/inventory/inventory.h"
#include "library/inventory/inventory_model.h"
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

void InventoryModel::Load(Connection& connection) {
    auto names = PlaceNames(connection);
    auto classNames = ClassNames(connection);
    const auto scope = ReadInventoryScope(connection);
    auto rows = SelectRows(connection,
                           "Select BOOK_ID, syomei2, seikyu, HKN_ID, NDC_ID, tenkenF, kashidashiF,"
                           " haikiF From Book");
    progress_ = {};
    missing_.clear();
    toCheck_.clear();
    std::map<int64_t, ProgressLine> places;
    std::map<double, ProgressLine> classes;
    std::vector<std::tuple<int64_t, double, int64_t, bool>> keys;  // place, class, number, checked
    std::vector<std::tuple<int64_t, std::string, int64_t, ScannedBook>> found;
    for (const auto& row : rows.rows) {
        const auto& v = row.values;
        if (IsSet(v[6]) || IsSet(v[7]) || !scope.Covers(v[3], v[4])) continue;
        const bool checked = IsSet(v[5]);
        const int64_t place = v[3].IsNull() ? kNoPlace : IntegerOf(v[3]);
        const double classKey = ClassKey(v[4], classNames);
        ++progress_.toCheck;
        progress_.checked += checked ? 1 : 0;
        Count(places, place, checked);
        Count(classes, classKey, checked);
        keys.emplace_back(place, classKey, IntegerOf(v[0]), checked);
        if (checked) continue;
        ScannedBook book{IntegerOf(v[0]), TextOf(v[1]), TextOf(v[2]), ""};
        if (auto it = names.find(place); it != names.end()) book.place = it->second;
        std::string callNumber = book.callNumber;  // the tuple may build its last part first
        found.emplace_back(place, std::move(callNumber), book.number, std::move(book));
    }
    std::map<int64_t, size_t> placeLines;
    std::map<double, size_t> classLines;
    for (auto& [code, line] : places) {
        auto it = names.find(code);
        line.group = code == kNoPlace    ? kUnset
                     : it != names.end() ? it->second
                                         : std::to_string(code);
        placeLines[code] = progress_.byPlace.size();
        progress_.byPlace.push_back(line);
    }
    for (auto& [key, line] : classes) {
        line.group = ClassName(key, classNames);
        classLines[key] = progress_.byClass.size();
        progress_.byClass.push_back(line);
    }
    for (const auto& [place, classKey, number, checked] : keys)
        toCheck_[number] = {placeLines[place], classLines[classKey], checked};
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a), std::get<2>(a)) <
               std::tie(std::get<0>(b), std::get<1>(b), std::get<2>(b));
    });
    for (auto& entry : found) missing_.push_back(std::move(std::get<3>(entry)));
}

InventoryModel::Change InventoryModel::Found(int64_t number) {
    Change change;
    auto it = toCheck_.find(number);
    if (it == toCheck_.end() || it->second.checked) return change;
    it->second.checked = true;
    change.counted = true;
    ++progress_.checked;
    change.placeLine = it->second.placeLine;
    change.classLine = it->second.classLine;
    ++progress_.byPlace[it->second.placeLine].checked;
    ++progress_.byClass[it->second.classLine].checked;
    auto row = std::find_if(missing_.begin(), missing_.end(),
                            [number](const ScannedBook& book) { return book.number == number; });
    if (row != missing_.end()) {
        change.missingRow = static_cast<size_t>(row - missing_.begin());
        missing_.erase(row);
    }
    return change;
}

InventoryProgress ReadInventoryProgress(Connection& connection) {
    InventoryModel model;
    model.Load(connection);
    return model.Progress();
}

std::vector<ScannedBook> BooksNotFound(Connection& connection) {
    InventoryModel model;
    model.Load(connection);
    return model.Missing();
}

std::string RestoreText(RestoreAnswer answer, int64_t number) {
    const std::string book = desk::BookNumberText(number);
    switch (answer) {
        case RestoreAnswer::Restored:
            return "廃棄を取り消しました: " + book;
        case RestoreAnswer::UnknownBook:
            return "登録されていない図書番号です: " + book;
        default:
            return "点検の完了で廃棄にした記録がありません: " + book;
    }
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
            return result.isbn.empty() ? "登録されていない図書番号です: " + number
                                       : "登録されていないISBNです: " + result.isbn;
        case ScanAnswer::SeveralCopies:
            return "このISBNの図書は " + std::to_string(result.copies.size()) +
                   " 冊あり、どれも棚にある記録ではありません。図書番号のラベルを読んでください。";
        default:
            return "図書番号として読めません。";
    }
}

}  // namespace kashidashi::library
