// labels and cards on the demo school: every barcode of the rendered page
// (pdftoppm at 300 dpi) reads with zbarimg as its book or user number, the
// first label stands in the cell --start names, and the wrong uses.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>

#include "tools/tools_fixture.h"

namespace tools_test {
namespace {

QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(120000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The Code 39 symbols zbarimg reads on the first page, sorted.
QStringList SymbolsOf(const std::string& pdf, const std::filesystem::path& scratch) {
    const QString stem = QString::fromStdString((scratch / "page").string());
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-f"), QStringLiteral("1"),
             QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-singlefile"),
             QStringLiteral("-png"), QString::fromStdString(pdf), stem});
    QStringList symbols =
        RunTool(QStringLiteral("zbarimg"), {QStringLiteral("--quiet"), stem + ".png"})
            .split(u'\n', Qt::SkipEmptyParts);
    for (QString& symbol : symbols) symbol.remove(QStringLiteral("CODE-39:"));
    std::sort(symbols.begin(), symbols.end());
    return symbols;
}

// The centre of the first word `word` of the PDF's first page, in mm.
std::pair<double, double> WordCentre(const std::string& pdf, const QString& word) {
    QString words = RunTool(
        QStringLiteral("pdftotext"),
        {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
         QStringLiteral("1"), QString::fromStdString(pdf), QStringLiteral("-")});
    QRegularExpression box(QStringLiteral("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\""
                                          " yMax=\"([0-9.]+)\">") +
                           QRegularExpression::escape(word) + QStringLiteral("<"));
    auto match = box.match(words);
    if (!match.hasMatch()) return {-1, -1};
    const double mm = 25.4 / 72;
    return {(match.captured(1).toDouble() + match.captured(3).toDouble()) / 2 * mm,
            (match.captured(2).toDouble() + match.captured(4).toDouble()) / 2 * mm};
}

class LabelsCommand : public BuiltToolFixture {};

TEST_F(LabelsCommand, EveryBookLabelReadsAsItsNumberFromTheStartCellOn) {
    if (Stopped()) return;
    MakeDemoSchool();
    const std::string pdf = (scratch / "labels.pdf").string();
    auto run = RunBuiltTool({"labels", folder, "--books", "1-20", "--sheet", "a4-44", "--start",
                             "7", "--school", "みどり小学校", "--pdf", pdf});
    ASSERT_EQ(run.status, 0) << run.err;
    QStringList expected;
    for (int book = 1; book <= 20; ++book)
        expected << QStringLiteral("%1").arg(book, 7, 10, QChar(u'0'));
    EXPECT_EQ(SymbolsOf(pdf, scratch), expected);
    // Cell 7 of the 44 (48.3 × 25.4 mm from 8.4, 8.8): the third of the second row.
    auto [x, y] = WordCentre(pdf, QStringLiteral("0000001"));
    EXPECT_GT(x, 8.4 + 2 * 48.3);
    EXPECT_LT(x, 8.4 + 3 * 48.3);
    EXPECT_GT(y, 8.8 + 25.4);
    EXPECT_LT(y, 8.8 + 2 * 25.4);
}

TEST_F(LabelsCommand, SpineLabelsAndAListOfBooks) {
    if (Stopped()) return;
    MakeDemoSchool();
    Sql("Update Book Set seikyu='913 ミ 2' Where BOOK_ID=3");
    const std::string pdf = (scratch / "spine.pdf").string();
    auto list = WriteScratch("books.txt", "0000003\n5\n99999\n");
    auto run = RunBuiltTool({"labels", folder, "--list", list, "--spine", "--pdf", pdf});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("99999"), std::string::npos) << run.err;  // named as unknown
    QString text = RunTool(QStringLiteral("pdftotext"), {QString::fromStdString(pdf), "-"});
    for (const char* row : {"913", "ミ", "2"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(row))) << row << text.toStdString();
}

TEST_F(LabelsCommand, EveryCardOfAClassReadsAsTheNumberTheDeskReads) {
    if (Stopped()) return;
    MakeDemoSchool();
    const std::string pdf = (scratch / "cards.pdf").string();
    for (int mode : {4, 5}) {
        Sql("Delete From Reg Where ID=10");
        Sql("Insert Into Reg (ID, N1) Values (10, " + std::to_string(mode) + ")");
        auto run =
            RunBuiltTool({"cards", folder, "--class", "101", "--sheet", "card-10", "--pdf", pdf});
        ASSERT_EQ(run.status, 0) << run.err;
        QStringList expected;
        for (const auto& user : Rows("Name"))
            if (user.at("syozoku_ID") == "101")
                expected << QString::fromStdString(user.at(mode == 4 ? "seito_No" : "NAME_ID"));
        std::sort(expected.begin(), expected.end());
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(SymbolsOf(pdf, scratch), expected) << "mode " << mode;
    }
}

TEST_F(LabelsCommand, WrongUsesAreRefused) {
    if (Stopped()) return;
    MakeDemoSchool();
    const std::string pdf = (scratch / "x.pdf").string();
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {{"labels", folder, "--pdf", pdf}, 2, "--books"},
        {{"labels", folder, "--books", "1-5", "--list", "x", "--pdf", pdf}, 2, "--books"},
        {{"labels", folder, "--books", "1-5"}, 2, "--pdf"},
        {{"labels", folder, "--books", "abc", "--pdf", pdf}, 2, "--books"},
        {{"labels", folder, "--books", "12x-15", "--pdf", pdf}, 2, "--books"},
        {{"labels", folder, "--books", "1.9-3", "--pdf", pdf}, 2, "--books"},
        {{"labels", folder, "--books", "50-40", "--pdf", pdf}, 2, "逆さま"},
        {{"labels", folder, "--books", "-5", "--pdf", pdf}, 2, "--books"},
        {{"labels", folder, "--books", "1-5", "--barcode", "ean", "--pdf", pdf}, 2, "nw7"},
        {{"labels", folder, "--registered", "2026/04/30-2026/04/01", "--pdf", pdf}, 2, "逆さま"},
        {{"cards", folder, "--start", "11", "--pdf", pdf}, 2, "10"},
        {{"labels", folder, "--books", "1-5", "--sheet", "a4-99", "--pdf", pdf}, 1, "a4-44"},
        {{"labels", folder, "--books", "1-5", "--start", "45", "--pdf", pdf}, 2, "44"},
        {{"labels", folder, "--books", "1-5", "--spine", "--start", "66", "--pdf", pdf}, 2, "65"},
        {{"labels", folder, "--books", "1-5", "--sheet", "custom", "--pdf", pdf},
         1,
         "ユーザー設定"},
        {{"labels", folder, "--books", "90000-90010", "--pdf", pdf}, 1, "本がありません"},
        {{"labels", folder, "--registered", "2020/13/01-2020/04/02", "--pdf", pdf}, 2, "yyyy"},
        {{"cards", folder, "--class", "1a", "--pdf", pdf}, 1, "--class"},
        {{"cards", folder, "--class", "999", "--pdf", pdf}, 1, "利用者がいません"},
    };
    for (const auto& c : cases) {
        auto run = RunBuiltTool(c.args);
        EXPECT_EQ(run.status, c.status) << c.args[2] << " " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    }
}

// A portable reader's file (Shift-JIS, time stamps before the scans) given
// as a list: labels of its books only, not of the years, hours and minutes
// of its lines; its unknown numbers named; a book without call number or
// NDC named for its spine label.
TEST_F(LabelsCommand, AReadersFileAsAListGivesItsBooks) {
    if (Stopped()) return;
    MakeDemoSchool();
    const std::string pdf = (scratch / "reader.pdf").string();
    auto list = WriteScratch("reader.txt",
                             "2026/04/10 09:12:33\t0000004\r\n2026/04/10 09:12:35\t0000007\r\n"
                             "2026/04/10 09:12:37\t0099999\r\n");
    auto run = RunBuiltTool({"labels", folder, "--list", list, "--pdf", pdf});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(SymbolsOf(pdf, scratch),
              (QStringList{QStringLiteral("0000004"), QStringLiteral("0000007")}));
    EXPECT_NE(run.err.find("0099999"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("2026 "), std::string::npos) << run.err;
    Sql("Update Book Set seikyu=NULL, NDC_ID=NULL Where BOOK_ID=7");
    run = RunBuiltTool({"labels", folder, "--list", list, "--spine", "--pdf", pdf});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("0000007 の本には請求記号も NDC もありません"), std::string::npos)
        << run.err;
}

TEST_F(LabelsCommand, NewBooksOfARegistrationPeriod) {
    if (Stopped()) return;
    MakeDemoSchool();
    Sql("Update Book Set tourokubi='2026/04/10' Where BOOK_ID=4 or BOOK_ID=9");
    const std::string pdf = (scratch / "new.pdf").string();
    auto run = RunBuiltTool({"labels", folder, "--registered", "2026/04/01-2026/04/30", "--sheet",
                             "a4-12", "--pdf", pdf});
    ASSERT_EQ(run.status, 0) << run.err;
    QStringList symbols = SymbolsOf(pdf, scratch);
    EXPECT_TRUE(symbols.contains(QStringLiteral("0000004"))) << symbols.join(u' ').toStdString();
    EXPECT_TRUE(symbols.contains(QStringLiteral("0000009")));
    EXPECT_FALSE(symbols.contains(QStringLiteral("0000005")));
}

}  // namespace
}  // namespace tools_test
