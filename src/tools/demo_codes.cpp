#include "tools/demo_codes.h"

#include <cstdio>
#include <initializer_list>
#include <utility>

namespace kashidashi::admin {
namespace {

using Entry = std::pair<int, const char*>;

std::vector<exchange::Cells> CodeList(const char* key, const char* name,
                                      std::initializer_list<Entry> entries) {
    std::vector<exchange::Cells> rows;
    for (const auto& [code, text] : entries)
        rows.push_back({{key, engine::Value(code)}, {name, engine::Value(text)}});
    return rows;
}

// The names of the divisions 000, 010, ... 990 (at most 24 bytes each).
constexpr const char* kDivisions[100] = {
    "総記",
    "図書館情報学",
    "図書・書誌学",
    "百科事典",
    "一般論文集",
    "逐次刊行物",
    "団体",
    "ジャーナリズム",
    "叢書・全集",
    "貴重書・郷土資料",
    "哲学",
    "哲学各論",
    "東洋思想",
    "西洋哲学",
    "心理学",
    "倫理学・道徳",
    "宗教",
    "神道",
    "仏教",
    "キリスト教",
    "歴史",
    "日本史",
    "アジア史・東洋史",
    "ヨーロッパ史",
    "アフリカ史",
    "北アメリカ史",
    "南アメリカ史",
    "オセアニア史",
    "伝記",
    "地理・地誌・紀行",
    "社会科学",
    "政治",
    "法律",
    "経済",
    "財政",
    "統計",
    "社会",
    "教育",
    "風俗習慣・民俗学",
    "国防・軍事",
    "自然科学",
    "数学",
    "物理学",
    "化学",
    "天文学・宇宙科学",
    "地球科学・地学",
    "生物科学",
    "植物学",
    "動物学",
    "医学・薬学",
    "技術・工学",
    "建設工学・土木",
    "建築学",
    "機械工学",
    "電気工学・電子",
    "海洋工学・船舶",
    "金属工学・鉱山",
    "化学工業",
    "製造工業",
    "家政学・生活科学",
    "産業",
    "農業",
    "園芸",
    "蚕糸業",
    "畜産業・獣医学",
    "林業",
    "水産業",
    "商業",
    "運輸・交通",
    "通信事業",
    "芸術・美術",
    "彫刻",
    "絵画・書道",
    "版画",
    "写真・印刷",
    "工芸",
    "音楽・舞踊",
    "演劇・映画",
    "スポーツ・体育",
    "諸芸・娯楽",
    "言語",
    "日本語",
    "中国語・東洋の言語",
    "英語",
    "ドイツ語",
    "フランス語",
    "スペイン語",
    "イタリア語",
    "ロシア語",
    "その他の言語",
    "文学",
    "日本文学",
    "中国文学・東洋文学",
    "英米文学",
    "ドイツ文学",
    "フランス文学",
    "スペイン文学",
    "イタリア文学",
    "ロシア文学",
    "その他の文学",
};

// The divisions school libraries hold most of, per main class.
const std::vector<int> kCommonDivisions[10] = {{10, 30, 70, 20},
                                               {140, 150, 160, 180},
                                               {210, 280, 290, 220, 230},
                                               {360, 370, 380, 310, 330},
                                               {400, 410, 440, 450, 460, 470, 480, 490},
                                               {500, 510, 520, 540, 590},
                                               {610, 620, 660, 680, 650},
                                               {720, 750, 760, 780, 790},
                                               {810, 830, 820},
                                               {910, 910, 910, 930, 990}};

}  // namespace

std::vector<exchange::Cells> DemoNdc() {
    std::vector<exchange::Cells> rows;
    // The classification code is a FLOAT column.
    for (int i = 0; i < 100; ++i)
        rows.push_back(
            {{"NDC_ID", engine::Value(10.0 * i)}, {"NDC", engine::Value(kDivisions[i])}});
    return rows;
}

DemoClass ClassifyDemoTitle(int ndcClass, int64_t title) {
    if (title % 61 == 5) return {0, 0, "000"};
    if (ndcClass == 9 && title % 5 == 0) return {910, 11, "絵本"};
    if (title % 23 == 0 && (ndcClass == 9 || ndcClass == 8)) return {930, 12, "洋書"};
    const auto& common = kCommonDivisions[ndcClass % 10];
    const int division = common[static_cast<size_t>(title / 7) % common.size()];
    char mark[8];
    std::snprintf(mark, sizeof mark, "%03d",
                  division + (division % 100 == 10 && ndcClass == 9 ? 3 : 0));
    return {static_cast<double>(division), ndcClass % 10, mark};
}

std::vector<exchange::Cells> DemoPlaces() {
    return CodeList("HKN_ID", "HKN",
                    {{kPlaceLibrary, "図書室"},
                     {kPlaceClosedStack, "閉架書庫"},
                     {kPlaceClassroom, "学級文庫"},
                     {4, "職員室"}});
}

std::vector<exchange::Cells> DemoFunds() {
    return CodeList("ZAIGEN_ID", "ZAIGEN",
                    {{kFundBudget, "図書購入費"}, {2, "PTA会費"}, {kFundDonation, "寄贈"}});
}

std::vector<exchange::Cells> DemoSources() {
    return CodeList("UKEIRE_ID", "UKEIRE",
                    {{kSourcePurchase, "購入"}, {kSourceDonation, "寄贈"}, {3, "移管"}});
}

std::vector<exchange::Cells> DemoSettings() {
    using engine::Value;
    // Row 2: new books wait kNewBookDays days; N2 0 allows lending by ISBN.
    // Row 10: N1 4 makes the pupil number identify a user at the desk.
    return {{{"ID", Value(2)}, {"N1", Value(kNewBookDays)}, {"N2", Value(0)}},
            {{"ID", Value(10)}, {"N1", Value(4)}}};
}

}  // namespace kashidashi::admin
