// The barcode sheet through a real PDF: rasterised by pdftoppm and read by
// zbarimg, the four symbols give exactly the four control words. The PDF
// embeds the report fonts, and its texts are as wide as they were measured.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

#include "reports/fonts.h"
#include "reports/layout_file.h"
#include "reports/renderer.h"
#include "reports/report_output.h"

namespace kashidashi::reports {
namespace {

QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(PdfRoundTrip, TheBarcodeSheetScansAsTheFourControlWords) {
    QTemporaryDir dir;
    QString pdf = dir.filePath(QStringLiteral("barcodes.pdf"));
    ASSERT_TRUE(WritePdf(RenderReport(LoadLayout(QStringLiteral("control_barcodes")), {}), pdf));
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"), pdf,
             dir.filePath(QStringLiteral("sheet"))});
    QStringList pngs = QDir(dir.path()).entryList({QStringLiteral("sheet*.png")});
    ASSERT_EQ(pngs.size(), 1);
    QString out =
        RunTool(QStringLiteral("zbarimg"), {QStringLiteral("--quiet"), dir.filePath(pngs[0])});
    QStringList symbols = out.split(u'\n', Qt::SkipEmptyParts);
    std::sort(symbols.begin(), symbols.end());
    EXPECT_EQ(symbols,
              (QStringList{QStringLiteral("CODE-39:ACTION"), QStringLiteral("CODE-39:CANCEL"),
                           QStringLiteral("CODE-39:LENDING"), QStringLiteral("CODE-39:RETURN")}));
}

TEST(PdfRoundTrip, TheReportFontsAreEmbedded) {
    QTemporaryDir dir;
    QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    ASSERT_TRUE(WritePdf(RenderReport(LoadLayout(QStringLiteral("control_barcodes")), {}), pdf));
    QString fonts = RunTool(QStringLiteral("pdffonts"), {pdf});
    EXPECT_TRUE(fonts.contains(QStringLiteral("NotoSansCJK"))) << fonts.toStdString();
    for (const QString& line : fonts.split(u'\n').mid(2, -1))
        if (!line.isEmpty()) {
            EXPECT_TRUE(line.contains(QStringLiteral(" yes "))) << line.toStdString();
        }
}

// Text copied or searched in the PDF is the text drawn, also for characters
// whose glyph the font shares with a lookalike: 面 and 行 with the Kangxi
// radicals, ・ with the hyphenation point.
TEST(PdfRoundTrip, ThePdfsTextIsTheTextDrawn) {
    QTemporaryDir dir;
    QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    ASSERT_TRUE(WritePdf(RenderReport(LoadLayout(QStringLiteral("control_barcodes")), {}), pdf));
    QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    for (const char* word : {"貸出・返却画面の切替", "貸出実行（じっこう）"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word << "\n" << text.toStdString();
    for (char32_t lookalike : {U'\u2FAF', U'\u2F8F', U'\u2027'})
        EXPECT_FALSE(text.contains(QString::fromUcs4(&lookalike, 1))) << text.toStdString();
    // Kanji whose Kangxi radical shares their glyph, in each report font.
    const std::string kanji = "一人日月木大小山・面行";
    Page page;
    double top = 20;
    for (const char* font : {"メイリオ", "ＭＳ 明朝", "ＭＳ ゴシック"})
        page.texts.push_back(
            {"Memo", {20, top, 150, 10}, {font, 12}, 0xff000000, {{20, top += 10, kanji}}});
    ASSERT_TRUE(WritePdf({"kanji", {page}}, pdf));
    text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    EXPECT_EQ(text.count(QString::fromStdString(kanji)), 3) << text.toStdString();
}

// The right end of the text in the PDF, in millimetres: the largest xMax of
// the words pdftotext finds on the page.
double RightEndMm(const PreparedReport& report, const QTemporaryDir& dir) {
    QString pdf = dir.filePath(QStringLiteral("text.pdf"));
    EXPECT_TRUE(WritePdf(report, pdf));
    QString words = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, "-"});
    double right = 0;
    QRegularExpression xMax(QStringLiteral("xMax=\"([0-9.]+)\""));
    for (auto match = xMax.globalMatch(words); match.hasNext();)
        right = std::max(right, match.next().captured(1).toDouble());
    return right * kMmPerInch / 72;
}

TEST(PdfRoundTrip, TextsAreAsWideInThePdfAsTheyWereMeasured) {
    const std::string line = "貸出期日 2026/12/01 ～ 2026/12/07";
    for (const FontStyle& font :
         {FontStyle{"メイリオ", 10}, FontStyle{"ＭＳ 明朝", 9}, FontStyle{"ＭＳ ゴシック", 11}}) {
        Page page;
        page.texts.push_back({"Memo", {20, 20, 150, 10}, font, 0xff000000, {{20, 28, line}}});
        QTemporaryDir dir;
        double measured = FontMetrics().WidthMm(QString::fromStdString(line), font);
        EXPECT_NEAR(RightEndMm({"text", {page}}, dir), 20 + measured, 0.3) << font.name;
    }
}

}  // namespace
}  // namespace kashidashi::reports
