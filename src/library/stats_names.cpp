// The names of the statistics' views and periods (stats.h).
#include "engine/common/dates.h"
#include "library/stats.h"

namespace kashidashi::library {

std::pair<engine::Date, engine::Date> SchoolYear(int year) {
    return {engine::MakeDate(year, 4, 1), engine::MakeDate(year + 1, 3, 31)};
}

std::optional<StatsView> StatsViewNamed(const std::string& name) {
    static const std::pair<const char*, StatsView> views[] = {
        {"month", StatsView::Month}, {"grade", StatsView::Grade}, {"class", StatsView::Class},
        {"ndc", StatsView::Ndc},     {"title", StatsView::Title}, {"users", StatsView::Users}};
    for (const auto& [word, view] : views)
        if (name == word) return view;
    return std::nullopt;
}

std::string StatsViewTitle(StatsView view) {
    switch (view) {
        case StatsView::Month:
            return "月別";
        case StatsView::Grade:
            return "学年別";
        case StatsView::Class:
            return "クラス別";
        case StatsView::Ndc:
            return "分類別";
        case StatsView::Title:
            return "よく借りられた本";
        default:
            return "利用者の割合";
    }
}

std::vector<std::string> StatsTitles(StatsView view) {
    switch (view) {
        case StatsView::Month:
            return {"月", "貸出数"};
        case StatsView::Grade:
            return {"学年", "貸出数"};
        case StatsView::Class:
            return {"所属", "貸出数"};
        case StatsView::Ndc:
            return {"分類", "貸出数"};
        case StatsView::Title:
            return {"書名", "貸出数"};
        default:
            return {"所属", "借りた人数", "利用者数"};
    }
}

}  // namespace kashidashi::library
