#include "library/overdue/overdue_prints.h"

#include "engine/common/dates.h"
#include "library/rows_dataset.h"
#include "reports/layout_file.h"
#include "reports/renderer.h"

namespace kashidashi::library {
namespace {

using engine::FieldType;
using engine::Value;
using Rows = std::vector<std::vector<Value>>;

engine::ColumnType Text() {
    return {FieldType::String, 100};
}

// The rows of the class list: one per loan.
TRowsDataSet ListRows() {
    return TRowsDataSet("rptDBDataset1", {{"seitoNo", Text()},
                                          {"name", Text()},
                                          {"BOOK_ID", {FieldType::Integer}, "", "0000000"},
                                          {"syomei2", Text()},
                                          {"kashidashibi", {FieldType::Date}},
                                          {"henkyakuyotei", {FieldType::Date}},
                                          {"entai", {FieldType::Integer}}});
}

std::vector<Value> ListRow(const OverdueLoan& loan) {
    return {Value(loan.pupilNo), Value(loan.name), Value(loan.book),       Value(loan.title),
            Value(loan.lentOn),  Value(loan.due),  Value(loan.daysOverdue)};
}

// One class's pages appended to `report`.
void AppendClass(reports::PreparedReport& report, reports::Layout layout, const Rows& rows,
                 const std::string& className, engine::Date day, reports::ReportSource& head) {
    if (auto* cell = layout.FindObject("Memo_class")) cell->text = className;
    if (auto* cell = layout.FindObject("Memo_date")) cell->text = engine::FormatDate(day) + " 現在";
    TRowsDataSet data = ListRows();
    data.SetRows(rows);
    auto source = reports::DataSetSource("rptDBDataset1", data, true);
    auto pages = reports::RenderReport(layout, {source.get(), &head}).pages;
    for (auto& page : pages) report.pages.push_back(std::move(page));
}

// A slip's list of titles with their due dates, one a line.
std::string SlipBooks(const std::vector<const OverdueLoan*>& loans) {
    std::string text;
    for (size_t i = 0; i < loans.size() && i < kSlipTitles; ++i)
        text += (i ? "\n" : "") + std::string("・") + loans[i]->title + "（返却予定日 " +
                engine::FormatDate(loans[i]->due) + "）";
    if (loans.size() > kSlipTitles)
        text += "\nほか " + std::to_string(loans.size() - kSlipTitles) + " 冊";
    return text;
}

std::vector<Value> SlipRow(const std::vector<const OverdueLoan*>& loans, engine::Date day) {
    const OverdueLoan& first = *loans.front();
    return {Value(first.className),
            Value(first.pupilNo),
            Value(first.name),
            Value(SlipBooks(loans)),
            Value(engine::FormatDate(day) + " 現在"),
            Value(first.staff ? "様" : "さん"),
            Value(first.staff ? kStaffRequest : kPupilRequest)};
}

// One row per borrower (by fixed number), in the list's order.
Rows SlipRows(const std::vector<OverdueLoan>& loans, engine::Date day) {
    Rows rows;
    std::vector<const OverdueLoan*> group;
    for (size_t i = 0; i <= loans.size(); ++i) {
        if (!group.empty() && (i == loans.size() || loans[i].nameId != group.front()->nameId)) {
            rows.push_back(SlipRow(group, day));
            group.clear();
        }
        if (i < loans.size()) group.push_back(&loans[i]);
    }
    return rows;
}

}  // namespace

reports::PreparedReport OverdueListReport(const std::vector<OverdueLoan>& loans, engine::Date day,
                                          reports::ReportSource& head, const std::string& title) {
    auto layout = reports::LoadLayout(QStringLiteral("overdue_list"));
    if (auto* cell = layout.FindObject("Memo_title"); cell && !title.empty()) cell->text = title;
    reports::PreparedReport report{layout.name, {}};
    Rows rows;
    for (size_t i = 0; i < loans.size(); ++i) {
        rows.push_back(ListRow(loans[i]));
        const bool last = i + 1 == loans.size() || loans[i + 1].classCode != loans[i].classCode;
        if (!last) continue;
        AppendClass(report, layout, rows, loans[i].className, day, head);
        rows.clear();
    }
    if (loans.empty()) AppendClass(report, layout, {}, "", day, head);  // the title and count 0
    return report;
}

reports::PreparedReport OverdueSlipsReport(const std::vector<OverdueLoan>& loans, engine::Date day,
                                           reports::ReportSource& head) {
    auto layout = reports::LoadLayout(QStringLiteral("overdue_slips"));
    TRowsDataSet data("rptDBDataset1", {{"syozoku", Text()},
                                        {"seitoNo", Text()},
                                        {"name", Text()},
                                        {"books", {FieldType::Memo}},
                                        {"hiduke", Text()},
                                        {"keisyou", Text()},
                                        {"message", {FieldType::Memo}}});
    data.SetRows(SlipRows(loans, day));
    auto source = reports::DataSetSource("rptDBDataset1", data, true);
    return reports::RenderReport(layout, {source.get(), &head});
}

}  // namespace kashidashi::library
