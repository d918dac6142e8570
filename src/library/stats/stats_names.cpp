// The names of the statistics' views and periods, and the texts of a row (stats.h).
#include <cstdio>

#include "engine/common/dates.h"
#include "library/stats/stats.h"

namespace kashidashi::library {
namespace {

struct ViewNames {
    StatsView view;
    const char* word;   // the command's name
    const char* title;  // the window's name
};

constexpr ViewNames kNames[] = {
    {StatsView::Month, "month", "月別"},
    {StatsView::Grade, "grade", "学年別"},
    {StatsView::Class, "class", "クラス別"},
    {StatsView::Ndc, "ndc", "分類別"},
    {StatsView::Title, "title", "よく借りられた本"},
    {StatsView::Users, "users", "利用者の割合"},
    {StatsView::PerPupilClass, "perpupil-class", "一人当たり（クラス別）"},
    {StatsView::PerPupilGrade, "perpupil-grade", "一人当たり（学年別）"},
    {StatsView::ReadersClass, "readers-class", "多読者（クラス別）"},
    {StatsView::ReadersGrade, "readers-grade", "多読者（学年別）"},
};

const ViewNames& NamesOf(StatsView view) {
    for (const auto& names : kNames)
        if (names.view == view) return names;
    return kNames[0];
}

std::string Decimal(double value, const char* format) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::pair<engine::Date, engine::Date> SchoolYear(int year) {
    return {engine::MakeDate(year, 4, 1), engine::MakeDate(year + 1, 3, 31)};
}

std::optional<StatsView> StatsViewNamed(const std::string& name) {
    for (const auto& names : kNames)
        if (name == names.word) return names.view;
    return std::nullopt;
}

std::string StatsViewName(StatsView view) {
    return NamesOf(view).word;
}

std::string StatsViewTitle(StatsView view) {
    return NamesOf(view).title;
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
            return {"順位", "書名", "ISBN", "貸出数"};
        case StatsView::Users:
            return {"所属", "借りた人数", "利用者数", "割合（%）"};
        case StatsView::PerPupilClass:
            return {"所属", "貸出数", "利用者数", "一人当たり"};
        case StatsView::PerPupilGrade:
            return {"学年", "貸出数", "利用者数", "一人当たり"};
        case StatsView::ReadersClass:
            return {"所属", "順位", "利用者", "貸出数"};
        case StatsView::ReadersGrade:
            return {"学年", "順位", "利用者", "貸出数"};
    }
    return {};
}

std::vector<std::string> StatsTexts(const StatsTable& table, size_t i) {
    const StatsRow& row = table.rows[i];
    const std::string count = std::to_string(row.count), users = std::to_string(row.users);
    switch (table.view) {
        case StatsView::Title:
            return {std::to_string(row.rank), row.key, row.isbn, count};
        case StatsView::Users:
            return {row.key, count, users, Decimal(row.rate, "%.1f")};
        case StatsView::PerPupilClass:
        case StatsView::PerPupilGrade:
            return {row.key, count, users, Decimal(row.rate, "%.2f")};
        case StatsView::ReadersClass:
        case StatsView::ReadersGrade:
            return {row.key, std::to_string(row.rank), row.reader, count};
        default:
            return {row.key, count};
    }
}

}  // namespace kashidashi::library
