// The progress of the stock check, the books not found and the texts of
// the scan answers (inventory.h). Reads only.
#include <algorithm>
#include <cmath>
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

int NdcClassOf(const Value& ndc) {
    const double value = ndc.IsFloat() ? ndc.Float() : static_cast<double>(IntegerOf(ndc));
    if (ndc.IsNull() || !(value >= 0) || value >= 1000) return 10;
    return static_cast<int>(std::floor(value / 100));
}

std::map<int64_t, std::string> PlaceNames(Connection& connection) {
    std::map<int64_t, std::string> names;
    for (const auto& row : SelectRows(connection, "Select HKN_ID, HKN From HKN").rows)
        names[IntegerOf(row.values[0])] = TextOf(row.values[1]);
    return names;
}

void Count(std::map<int64_t, ProgressLine>& lines, int64_t key, bool checked) {
    ++lines[key].toCheck;
    if (checked) ++lines[key].checked;
}

}  // namespace

InventoryProgress ReadInventoryProgress(Connection& connection) {
    auto names = PlaceNames(connection);
    auto rows = SelectRows(connection,
                           "Select HKN_ID, NDC_ID, tenkenF, kashidashiF, haikiF From Book");
    InventoryProgress progress;
    std::map<int64_t, ProgressLine> places, classes;
    for (const auto& row : rows.rows) {
        const auto& v = row.values;
        if (IsSet(v[3]) || IsSet(v[4])) continue;
        const bool checked = IsSet(v[2]);
        ++progress.toCheck;
        progress.checked += checked ? 1 : 0;
        Count(places, v[0].IsNull() ? kNoPlace : IntegerOf(v[0]), checked);
        Count(classes, NdcClassOf(v[1]), checked);
    }
    for (auto& [code, line] : places) {
        auto it = names.find(code);
        line.group = code == kNoPlace ? kUnset
                     : it != names.end() ? it->second
                                         : std::to_string(code);
        progress.byPlace.push_back(line);
    }
    for (auto& [ndc, line] : classes) {
        line.group = ndc == 10 ? std::string(kUnset) : std::to_string(ndc) + "類";
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
