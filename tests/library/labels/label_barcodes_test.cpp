// The barcodes of labels and cards as a scanner meets them: on every sheet
// (the standard ones and a custom one), in Code 39 and in NW-7, every
// barcode of a full page is painted at 300 dpi and read by zbarimg within
// its own cell (cut out of the page), and its bars have a wide-to-narrow ratio of at least 2.5
// and ten narrow units of white on each side inside the cell.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

#include "desk/entry_rules.h"
#include "library/labels/cards.h"
#include "library/labels/labels.h"
#include "reports/page_painter.h"

namespace library_test {
namespace {

using namespace kashidashi::library;
namespace reports = kashidashi::reports;
using reports::Symbology;

// What zbarimg reads in each cell of `page` painted at 300 dpi (each cell
// cut out into a file of its own, so a symbol is read within its cell).
std::vector<QStringList> ReadCells(const reports::Page& page, const reports::CellSheet& sheet,
                                   const QString& folder) {
    constexpr double dpi = 300;
    const double pixelsPerMm = dpi / 25.4;
    QImage image(static_cast<int>(page.width * pixelsPerMm),
                 static_cast<int>(page.height * pixelsPerMm), QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254 + 0.5));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        reports::PaintPage(painter, page);
    }
    QStringList arguments{QStringLiteral("--nodbus"), QStringLiteral("--xml"), QStringLiteral("-q"),
                          QStringLiteral("-Scodabar.enable")};
    for (int cell = 0; cell < sheet.Count(); ++cell) {
        const auto r = sheet.CellRect(cell);
        const QRect pixels(static_cast<int>(r.x * pixelsPerMm), static_cast<int>(r.y * pixelsPerMm),
                           static_cast<int>(r.w * pixelsPerMm),
                           static_cast<int>(r.h * pixelsPerMm));
        const QString png = QStringLiteral("%1/cell%2.png").arg(folder).arg(cell);
        EXPECT_TRUE(
            image.copy(pixels).convertToFormat(QImage::Format_Grayscale8).save(png, "PNG", 90));
        arguments << png;
    }
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), arguments);
    zbar.waitForFinished(60000);
    const QString xml = QString::fromUtf8(zbar.readAllStandardOutput());
    std::vector<QStringList> reads(sheet.Count());
    static const QRegularExpression cellFile(QStringLiteral("cell([0-9]+)\\.png'"));
    static const QRegularExpression data(QStringLiteral("<!\\[CDATA\\[(.*?)\\]\\]>"));
    int cell = -1;
    for (const QString& line : xml.split(u'\n')) {
        if (auto match = cellFile.match(line); match.hasMatch()) cell = match.captured(1).toInt();
        for (auto it = data.globalMatch(line); it.hasNext();)
            if (cell >= 0) reads[cell] << it.next().captured(1);
    }
    return reads;
}

// The digits of a scan, as the desk keeps them.
std::string Digits(const std::string& scan) {
    std::string digits;
    for (char c : scan)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

// The bars inside one cell: ratio and quiet zones.
void ExpectBarsReadable(const reports::Page& page, const reports::CellSheet& sheet, int cell,
                        const std::string& what) {
    const auto rect = sheet.CellRect(cell);
    std::vector<reports::RectMm> bars;
    for (const auto& fill : page.fills)
        if (fill.rect.x >= rect.x - 0.01 && fill.rect.Right() <= rect.Right() + 0.01 &&
            fill.rect.y >= rect.y - 0.01 && fill.rect.Bottom() <= rect.Bottom() + 0.01)
            bars.push_back(fill.rect);
    ASSERT_FALSE(bars.empty()) << what;
    double narrow = 1e9, wide = 0, left = 1e9, right = 0;
    for (const auto& bar : bars) {
        narrow = std::min(narrow, bar.w), wide = std::max(wide, bar.w);
        left = std::min(left, bar.x), right = std::max(right, bar.Right());
    }
    EXPECT_GE(wide / narrow, 2.5 - 1e-9) << what;
    EXPECT_GE(left - rect.x, 10 * narrow - 1e-9) << what;
    EXPECT_GE(rect.Right() - right, 10 * narrow - 1e-9) << what;
    // Nothing else printed in the quiet zones beside the bars.
    const double barTop = bars.front().y, barBottom = bars.front().Bottom();
    for (const auto& text : page.texts) {
        const auto& c = text.clip;
        if (c.Bottom() <= barTop || c.y >= barBottom || c.Right() <= rect.x || c.x >= rect.Right())
            continue;
        EXPECT_FALSE(c.x < left - 1e-6 || c.Right() > right + 1e-6) << what << " " << text.object;
    }
}

std::vector<reports::CellSheet> EverySheet() {
    auto sheets = reports::StandardCellSheets();
    reports::CellSheet custom;  // a 3 × 9 sheet of 60 × 30 mm with gaps
    custom.name = "custom", custom.left = 12, custom.top = 10;
    custom.cellWidth = 60, custom.cellHeight = 30, custom.pitchX = 63, custom.pitchY = 31;
    custom.columns = 3, custom.rows = 9;
    sheets.push_back(custom);
    return sheets;
}

// Every cell of the first page holds a label; each reads as its number in
// its own cell.
void ExpectEveryCellReads(const reports::PreparedReport& report, const reports::CellSheet& sheet,
                          const std::vector<std::string>& numbers, const QString& folder,
                          const std::string& what) {
    ASSERT_FALSE(report.pages.empty());
    const auto& page = report.pages.front();
    for (int cell = 0; cell < sheet.Count(); ++cell)
        ExpectBarsReadable(page, sheet, cell, what + " cell " + std::to_string(cell));
    QDir(folder).mkpath(QStringLiteral("."));
    const auto reads = ReadCells(page, sheet, folder);
    for (int cell = 0; cell < sheet.Count(); ++cell) {
        ASSERT_EQ(reads[cell].size(), 1) << what << " cell " << cell;
        EXPECT_EQ(Digits(reads[cell][0].toStdString()), numbers[cell]) << what << " cell " << cell;
    }
}

void ExpectEveryBookLabelReads(Symbology symbology) {
    QTemporaryDir scratch;
    for (const auto& sheet : EverySheet()) {
        std::vector<LabelBook> books;
        std::vector<std::string> numbers;
        for (int i = 0; i < sheet.Count(); ++i) {
            const int64_t number = 1000 + i * 137;
            books.push_back({number, "としょかんのほん", "913 ア", 913});
            numbers.push_back(kashidashi::desk::BookNumberText(number));
        }
        const std::string what = sheet.name + " " + reports::SymbologyName(symbology);
        auto report = LabelsReport(books, LabelKind::Barcode, sheet, 0, "若葉小学校", symbology);
        ExpectEveryCellReads(report, sheet, numbers, scratch.filePath(QString::fromStdString(what)),
                             what);
    }
}

TEST(LabelBarcodes, EveryBookLabelReadsInItsCellOnEverySheetInCode39) {
    ExpectEveryBookLabelReads(Symbology::Code39);
}

TEST(LabelBarcodes, EveryBookLabelReadsInItsCellOnEverySheetInNw7) {
    ExpectEveryBookLabelReads(Symbology::Nw7);
}

TEST(LabelBarcodes, EveryUserCardReadsInItsCell) {
    QTemporaryDir scratch;
    for (const char* name : {"card-10", "a4-21"}) {
        const auto sheet = *reports::FindCellSheet(name);
        std::vector<CardUser> users;
        std::vector<std::string> numbers;
        for (int i = 0; i < sheet.Count(); ++i) {
            const std::string pupil = std::to_string(10101 + i);
            users.push_back({"1" + pupil, pupil, "青木　一郎", "1年1組"});
            numbers.push_back(pupil);
        }
        for (auto symbology : {Symbology::Code39, Symbology::Nw7}) {
            const std::string what = std::string(name) + " " + reports::SymbologyName(symbology);
            auto report = CardsReport(users, 4, sheet, 0, "若葉小学校", symbology);
            ExpectEveryCellReads(report, sheet, numbers,
                                 scratch.filePath(QString::fromStdString(what)), what);
        }
    }
}

}  // namespace
}  // namespace library_test
