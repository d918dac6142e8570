// The year-end figures of the stock check (inventory_summary.h).
#include "library/inventory/inventory_summary.h"

#include <array>
#include <cmath>
#include <set>

#include "engine/common/dates.h"
#include "library/inventory/inventory_records.h"
#include "library/sql_rows.h"

namespace kashidashi::library {
namespace {

using engine::Value;

constexpr const char* kClassNames[] = {"0 総記", "1 哲学", "2 歴史", "3 社会科学", "4 自然科学",
                                       "5 技術", "6 産業", "7 芸術", "8 言語",     "9 文学"};
constexpr size_t kUnsetLine = 10, kTotalLine = 11;

bool IsSet(const Value& flag) {
    return flag.IsBool() ? flag.Bool() : IntegerOf(flag) != 0;
}

size_t LineOf(const Value& ndc) {
    if (ndc.IsNull()) return kUnsetLine;
    const double code = ndc.IsFloat() ? ndc.Float() : static_cast<double>(IntegerOf(ndc));
    if (!(code >= 0) || code >= 1000) return kUnsetLine;
    return static_cast<size_t>(code < 10 ? std::floor(code) : std::floor(code / 100));
}

std::set<int64_t> NumbersOf(engine::storage::Connection& connection, const std::string& text,
                            const SqlParams& params = {}) {
    std::set<int64_t> numbers;
    for (const auto& row : SelectRows(connection, text, params).rows)
        numbers.insert(IntegerOf(row.values[0]));
    return numbers;
}

}  // namespace

int SchoolYearOf(int year, int month) {
    return month < 4 ? year - 1 : year;
}

std::vector<SummaryLine> YearSummary(engine::storage::Connection& connection, int year) {
    std::array<SummaryLine, 12> lines;
    for (size_t i = 0; i < 10; ++i) lines[i].group = kClassNames[i];
    lines[kUnsetLine].group = "未設定";
    lines[kTotalLine].group = "合計";
    const auto from = engine::ParseDate(std::to_string(year) + "/04/01");
    const auto to = engine::ParseDate(std::to_string(year + 1) + "/04/01");
    std::set<int64_t> lost, byCheck;
    if (HasInventoryTable(connection, kLostTable))
        lost = NumbersOf(connection, std::string("Select BOOK_ID From ") + kLostTable);
    if (HasInventoryTable(connection, kWriteOffTable))
        byCheck = NumbersOf(connection,
                            std::string("Select BOOK_ID From ") + kWriteOffTable +
                                " Where RESTORED_ON Is Null and WRITTEN_ON>=:PM1 and"
                                " WRITTEN_ON<:PM2",
                            {{"pm1", Value(*from)}, {"pm2", Value(*to)}});
    auto rows =
        SelectRows(connection, "Select BOOK_ID, NDC_ID, tenkenF, haikiF, haiki_date From Book");
    for (const auto& row : rows.rows) {
        const auto& v = row.values;
        const int64_t number = IntegerOf(v[0]);
        for (size_t line : {LineOf(v[1]), kTotalLine}) {
            auto& sums = lines[line];
            if (!IsSet(v[3])) {
                ++sums.holdings;
                sums.checked += IsSet(v[2]) ? 1 : 0;
                sums.lost += lost.count(number) ? 1 : 0;
                continue;
            }
            auto day = DateOf(v[4]);
            if (!day || *day < *from || !(*day < *to)) continue;
            ++sums.writtenOff;
            sums.byCheck += byCheck.count(number) ? 1 : 0;
        }
    }
    return {lines.begin(), lines.end()};
}

std::vector<std::string> SummaryTitles() {
    return {"分類", "蔵書数", "点検で確認", "不明", "廃棄", "うち点検の完了で"};
}

std::vector<std::string> SummaryTexts(const SummaryLine& line) {
    return {line.group,
            std::to_string(line.holdings),
            std::to_string(line.checked),
            std::to_string(line.lost),
            std::to_string(line.writtenOff),
            std::to_string(line.byCheck)};
}

}  // namespace kashidashi::library
