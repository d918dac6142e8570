#include "library/holdings/holdings_prints.h"

#include <algorithm>

#include "engine/common/dates.h"
#include "library/rows_dataset.h"
#include "reports/layout_file.h"
#include "reports/renderer.h"

namespace kashidashi::library::holdings {
namespace {

using engine::FieldType;
using engine::Value;
using Rows = std::vector<std::vector<Value>>;

engine::ColumnType Text() {
    return {FieldType::String, 200};
}

// One group's pages (a pupil, or the list) appended to `report`.
void Append(reports::PreparedReport& report, reports::Layout layout, TRowsDataSet& data,
            const std::string& heading, reports::ReportSource& head) {
    if (auto* cell = layout.FindObject("Memo_class")) cell->text = heading;
    if (auto* cell = layout.FindObject("Memo_date"))
        cell->text = engine::FormatDate(engine::Today()) + " 現在";
    auto source = reports::DataSetSource("rptDBDataset1", data, true);
    auto pages = reports::RenderReport(layout, {source.get(), &head}).pages;
    for (auto& page : pages) report.pages.push_back(std::move(page));
}

}  // namespace

reports::PreparedReport ReadingRecordReport(const std::vector<ReadingRecord>& records,
                                            reports::ReportSource& head) {
    auto layout = reports::LoadLayout(QStringLiteral("reading_record"));
    reports::PreparedReport report{layout.name, {}};
    for (const auto& record : records) {
        TRowsDataSet data("rptDBDataset1", {{"kashidashibi", {FieldType::Date}},
                                            {"BOOK_ID", {FieldType::Integer}, "", "0000000"},
                                            {"syomei2", Text()},
                                            {"henkyakubi", {FieldType::Date}}});
        auto loans = record.loans;
        std::stable_sort(loans.begin(), loans.end(),
                         [](const UserLoan& a, const UserLoan& b) { return a.lentOn < b.lentOn; });
        Rows rows;
        for (const auto& loan : loans)
            rows.push_back({Value(loan.lentOn), Value(loan.book), Value(loan.title),
                            loan.returnedOn ? Value(*loan.returnedOn) : Value()});
        data.SetRows(std::move(rows));
        const auto& user = record.user;
        Append(report, layout, data,
               user.className + "　" + (user.pupilNo.empty() ? "" : user.pupilNo + "　") +
                   user.name + " さん",
               head);
    }
    return report;
}

reports::PreparedReport BookListReport(const std::vector<BookHit>& hits, const std::string& what,
                                       reports::ReportSource& head) {
    auto layout = reports::LoadLayout(QStringLiteral("book_list"));
    reports::PreparedReport report{layout.name, {}};
    TRowsDataSet data("rptDBDataset1", {{"BOOK_ID", {FieldType::Integer}, "", "0000000"},
                                        {"syomei2", Text()},
                                        {"cyosya", Text()},
                                        {"seikyu", Text()},
                                        {"state", Text()}});
    Rows rows;
    for (const auto& hit : hits)
        rows.push_back({Value(hit.number), Value(hit.title), Value(hit.authors),
                        Value(hit.callNumber), Value(StateText(hit))});
    data.SetRows(std::move(rows));
    Append(report, layout, data, what, head);
    return report;
}

}  // namespace kashidashi::library::holdings
