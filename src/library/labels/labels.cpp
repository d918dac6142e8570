#include "library/labels/labels.h"

#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <set>

#include "desk/entry_rules.h"
#include "exchange/scan_file.h"
#include "library/rows_dataset.h"
#include "library/sql_rows.h"
#include "reports/layout_file.h"

namespace kashidashi::library {
namespace {

using engine::FieldType;
using engine::Value;

constexpr const char* kBookColumns = "Select BOOK_ID, syomei2, seikyu, NDC_ID, haikiF From Book ";

double NumberOf(const engine::Value& value) {
    if (value.IsFloat()) return value.Float();
    return static_cast<double>(IntegerOf(value));
}

bool Discarded(const engine::Value& value) {
    return value.IsBool() ? value.Bool() : IntegerOf(value) != 0;
}

// `withDiscarded`: a list names its books; ranges and periods leave the
// discarded ones out.
std::vector<LabelBook> BooksOf(const engine::storage::ResultSet& result, bool withDiscarded) {
    std::vector<LabelBook> books;
    for (const auto& row : result.rows) {
        const auto& v = row.values;
        if (!withDiscarded && Discarded(v[4])) continue;
        books.push_back({IntegerOf(v[0]), TextOf(v[1]), TextOf(v[2]), NumberOf(v[3])});
    }
    return books;
}

std::string NdcText(double ndc) {
    if (ndc <= 0) return "";
    char text[32];
    std::snprintf(text, sizeof text, "%g", ndc);
    return text;
}

}  // namespace

std::vector<LabelBook> BooksInRange(engine::storage::Connection& connection, int64_t from,
                                    int64_t to) {
    return BooksOf(SelectRows(connection,
                              std::string(kBookColumns) +
                                  "Where BOOK_ID>=:PM1 and BOOK_ID<=:PM2 Order By BOOK_ID",
                              {{"pm1", Value(from)}, {"pm2", Value(to)}}),
                   false);
}

std::vector<LabelBook> BooksRegistered(engine::storage::Connection& connection, engine::Date from,
                                       engine::Date to) {
    return BooksOf(SelectRows(connection,
                              std::string(kBookColumns) +
                                  "Where tourokubi>=:PM1 and tourokubi<=:PM2 Order By BOOK_ID",
                              {{"pm1", Value(from)}, {"pm2", Value(to)}}),
                   false);
}

std::vector<LabelBook> BooksOfList(engine::storage::Connection& connection,
                                   const std::vector<int64_t>& numbers,
                                   std::vector<int64_t>& unknown) {
    std::vector<LabelBook> books;
    for (int64_t number : numbers) {
        auto found =
            BooksOf(SelectRows(connection, std::string(kBookColumns) + "Where BOOK_ID=:PM1",
                               {{"pm1", Value(number)}}),
                    true);
        if (found.empty())
            unknown.push_back(number);
        else
            books.push_back(found.front());
    }
    return books;
}

std::vector<int64_t> NumbersOfList(const std::string& text) {
    std::vector<int64_t> numbers;
    std::set<int64_t> seen;
    auto add = [&](const QString& digits) {
        bool ok = false;
        const int64_t number = digits.toLongLong(&ok);
        if (ok && seen.insert(number).second) numbers.push_back(number);
    };
    static const QRegularExpression runs(QStringLiteral("[0-9]+"));
    static const QRegularExpression notDigits(QStringLiteral("[^0-9]"));
    for (const auto& line : exchange::ParseScanFile(text)) {
        const QString scan = QString::fromStdString(line.scan);
        if (line.at) {
            // The reader's scan: its date and time are not book numbers.
            add(QString(scan).remove(notDigits));
            continue;
        }
        for (auto it = runs.globalMatch(scan); it.hasNext();) add(it.next().captured(0));
    }
    return numbers;
}

std::array<std::string, 3> SpineRows(const LabelBook& book) {
    static const QRegularExpression parting(QStringLiteral("[\\s\u3000/\\-]+"));
    const QStringList parts =
        QString::fromStdString(book.callNumber).split(parting, Qt::SkipEmptyParts);
    std::array<std::string, 3> rows;
    for (qsizetype i = 0; i < parts.size() && i < 3; ++i) rows[i] = parts[i].toStdString();
    // More than three parts: the rest stays with the volume.
    for (qsizetype i = 3; i < parts.size(); ++i) rows[2] += " " + parts[i].toStdString();
    if (parts.isEmpty()) rows[0] = NdcText(book.ndc);
    if (rows[0].empty()) rows[1] = kNoCallNumber;
    return rows;
}

std::vector<int64_t> WithoutCallNumber(const std::vector<LabelBook>& books) {
    std::vector<int64_t> numbers;
    for (const auto& book : books)
        if (SpineRows(book)[0].empty()) numbers.push_back(book.number);
    return numbers;
}

void UseSymbology(reports::Layout& layout, reports::Symbology symbology) {
    for (auto& band : layout.bands)
        for (auto& object : band.objects)
            if (object.kind == reports::ObjectKind::Barcode) object.barcode.symbology = symbology;
}

reports::PreparedReport LabelsReport(const std::vector<LabelBook>& books, LabelKind kind,
                                     const reports::CellSheet& sheet, int start,
                                     const std::string& school, reports::Symbology symbology) {
    engine::ColumnType text{FieldType::String, 100};
    TRowsDataSet data("rptDBDataset1", {{"code", text},
                                        {"syomei2", text},
                                        {"school", text},
                                        {"row1", text},
                                        {"row2", text},
                                        {"row3", text}});
    std::vector<std::vector<Value>> rows;
    for (const auto& book : books) {
        const auto spine = SpineRows(book);
        rows.push_back({Value(desk::BookNumberText(book.number)), Value(book.title), Value(school),
                        Value(spine[0]), Value(spine[1]), Value(spine[2])});
    }
    data.SetRows(std::move(rows));
    auto source = reports::DataSetSource("rptDBDataset1", data, true);
    auto layout = reports::LoadLayout(kind == LabelKind::Spine ? QStringLiteral("spine_label")
                                                               : QStringLiteral("book_label"));
    UseSymbology(layout, symbology);
    return reports::RenderCells(layout, sheet, start, {source.get()});
}

}  // namespace kashidashi::library
