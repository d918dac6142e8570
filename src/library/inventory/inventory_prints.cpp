#include "library/inventory/inventory_prints.h"

#include "desk/entry_rules.h"
#include "engine/common/dates.h"
#include "library/rows_dataset.h"
#include "reports/layout_file.h"
#include "reports/renderer.h"

namespace kashidashi::library {

reports::PreparedReport MissingBooksReport(const std::vector<ScannedBook>& books,
                                           std::optional<engine::Date> startedOn,
                                           reports::ReportSource& head, const std::string& title) {
    using engine::FieldType;
    using engine::Value;
    engine::ColumnType text{FieldType::String, 100};
    auto layout = reports::LoadLayout(QStringLiteral("inventory_missing"));
    if (auto* cell = layout.FindObject("Memo_date"); cell && startedOn)
        cell->text = engine::FormatDate(*startedOn) + " 開始";
    if (auto* cell = layout.FindObject("Memo_title"); cell && !title.empty()) cell->text = title;
    TRowsDataSet data("rptDBDataset1", {{"BOOK_ID", {FieldType::Integer}, "", "0000000"},
                                        {"syomei2", text},
                                        {"seikyu", text},
                                        {"HKN", text}});
    std::vector<std::vector<Value>> rows;
    for (const auto& book : books)
        rows.push_back(
            {Value(book.number), Value(book.title), Value(book.callNumber), Value(book.place)});
    data.SetRows(std::move(rows));
    auto source = reports::DataSetSource("rptDBDataset1", data, true);
    return reports::RenderReport(layout, {source.get(), &head});
}

reports::PreparedReport YearSummaryReport(const std::vector<SummaryLine>& lines, int year,
                                          reports::ReportSource& head) {
    using engine::FieldType;
    using engine::Value;
    auto layout = reports::LoadLayout(QStringLiteral("inventory_summary"));
    if (auto* cell = layout.FindObject("Memo_date"))
        cell->text = std::to_string(year) + " 年度（" + std::to_string(year) + "/04/01〜" +
                     std::to_string(year + 1) + "/03/31）";
    const engine::ColumnType number{FieldType::Integer};
    TRowsDataSet data("rptDBDataset1", {{"GROUP", {FieldType::String, 40}},
                                        {"HOLDINGS", number},
                                        {"CHECKED", number},
                                        {"LOST", number},
                                        {"WRITTEN", number},
                                        {"BYCHECK", number}});
    std::vector<std::vector<Value>> rows;
    for (const auto& line : lines)
        rows.push_back({Value(line.group), Value(int64_t{line.holdings}),
                        Value(int64_t{line.checked}), Value(int64_t{line.lost}),
                        Value(int64_t{line.writtenOff}), Value(int64_t{line.byCheck})});
    data.SetRows(std::move(rows));
    auto source = reports::DataSetSource("rptDBDataset1", data, true);
    return reports::RenderReport(layout, {source.get(), &head});
}

std::vector<std::string> MissingTitles() {
    return {"図書番号", "書名", "請求記号", "保管場所"};
}

std::vector<std::string> MissingTexts(const ScannedBook& book) {
    return {desk::BookNumberText(book.number), book.title, book.callNumber, book.place};
}

}  // namespace kashidashi::library
