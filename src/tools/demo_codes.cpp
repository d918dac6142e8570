#include "tools/demo_codes.h"

#include <initializer_list>
#include <utility>

namespace kashidashi::admin {
namespace {

using Entry = std::pair<int, const char*>;

std::vector<Cells> CodeList(const char* key, const char* name,
                            std::initializer_list<Entry> entries) {
    std::vector<Cells> rows;
    for (const auto& [code, text] : entries)
        rows.push_back({{key, engine::Value(code)}, {name, engine::Value(text)}});
    return rows;
}

}  // namespace

std::vector<Cells> DemoNdc() {
    std::vector<Cells> rows = CodeList("NDC_ID", "NDC",
                                       {{0, "総記"},
                                        {1, "哲学・宗教"},
                                        {2, "歴史・地理"},
                                        {3, "社会科学"},
                                        {4, "自然科学"},
                                        {5, "技術・工学"},
                                        {6, "産業"},
                                        {7, "芸術・スポーツ"},
                                        {8, "言語"},
                                        {9, "文学"}});
    // The classification code is a FLOAT column.
    for (auto& row : rows)
        row.front().second = engine::Value(static_cast<double>(row.front().second.Integer()));
    return rows;
}

std::vector<Cells> DemoPlaces() {
    return CodeList("HKN_ID", "HKN",
                    {{kPlaceLibrary, "図書室"},
                     {kPlaceClosedStack, "閉架書庫"},
                     {kPlaceClassroom, "学級文庫"},
                     {4, "職員室"}});
}

std::vector<Cells> DemoFunds() {
    return CodeList("ZAIGEN_ID", "ZAIGEN",
                    {{kFundBudget, "図書購入費"}, {2, "PTA会費"}, {kFundDonation, "寄贈"}});
}

std::vector<Cells> DemoSources() {
    return CodeList("UKEIRE_ID", "UKEIRE",
                    {{kSourcePurchase, "購入"}, {kSourceDonation, "寄贈"}, {3, "移管"}});
}

std::vector<Cells> DemoSettings() {
    using engine::Value;
    // Row 2: new books wait kNewBookDays days; N2 0 allows lending by ISBN.
    // Row 10: N1 4 makes the pupil number identify a user at the desk.
    return {{{"ID", Value(2)}, {"N1", Value(kNewBookDays)}, {"N2", Value(0)}},
            {{"ID", Value(10)}, {"N1", Value(4)}}};
}

}  // namespace kashidashi::admin
