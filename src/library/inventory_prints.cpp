#include "library/inventory_prints.h"

#include "desk/entry_rules.h"
#include "engine/common/dates.h"
#include "library/rows_dataset.h"
#include "reports/layout_file.h"
#include "reports/renderer.h"

namespace kashidashi::library {

reports::PreparedReport MissingBooksReport(const std::vector<ScannedBook>& books,
                                           std::optional<engine::Date> startedOn,
                                           reports::ReportSource& head) {
    using engine::FieldType;
    using engine::Value;
    engine::ColumnType text{FieldType::String, 100};
    auto layout = reports::LoadLayout(QStringLiteral("inventory_missing"));
    if (auto* cell = layout.FindObject("Memo_date"); cell && startedOn)
        cell->text = engine::FormatDate(*startedOn) + " 開始";
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

std::vector<std::string> MissingTitles() {
    return {"図書番号", "書名", "請求記号", "保管場所"};
}

std::vector<std::string> MissingTexts(const ScannedBook& book) {
    return {desk::BookNumberText(book.number), book.title, book.callNumber, book.place};
}

}  // namespace kashidashi::library
