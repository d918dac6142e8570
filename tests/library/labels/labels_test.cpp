// Labels and cards: every label of every standard sheet stands within
// 0.3 mm of its cell, printing starts at any cell of a used sheet, the
// spine label's three rows, the custom sheet kept in Reg, and the window
// ラベル・カード印刷 opened from 図書館の管理, offscreen.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "data/pin_constants.h"
#include "engine/common/dates.h"
#include "library/labels/U_Label.h"
#include "library/labels/cards.h"
#include "library/labels/labels.h"
#include "library/labels/sheets.h"
#include "library/year_fixture.h"
#include "reports/preview_window.h"

namespace library_test {
using namespace kx_test;
namespace {

using namespace kashidashi::library;
namespace reports = kashidashi::reports;

std::vector<LabelBook> SomeBooks(int count) {
    std::vector<LabelBook> books;
    for (int i = 1; i <= count; ++i)
        books.push_back({i, "本" + std::to_string(i), "913 ア 1", 913});
    return books;
}

// The texts of one object, in the order the labels were printed.
std::vector<const reports::PageText*> TextsOf(const reports::PreparedReport& report,
                                              const std::string& object) {
    std::vector<const reports::PageText*> texts;
    for (const auto& page : report.pages)
        for (const auto& text : page.texts)
            if (text.object == object) texts.push_back(&text);
    return texts;
}

// The book label's title cell stands 3 mm × 6.5 mm into a 70 × 38.1 cell.
void ExpectInCells(const reports::CellSheet& sheet, int start, int count) {
    auto report = LabelsReport(SomeBooks(count), LabelKind::Barcode, sheet, start, "若葉小学校");
    const auto titles = TextsOf(report, "Memo_title");
    ASSERT_EQ(titles.size(), static_cast<size_t>(count)) << sheet.name;
    for (int i = 0; i < count; ++i) {
        const int cell = (start + i) % sheet.Count();
        const auto rect = sheet.CellRect(cell);
        EXPECT_NEAR(titles[i]->clip.x, rect.x + 3 * sheet.cellWidth / 70, 0.3) << sheet.name << i;
        EXPECT_NEAR(titles[i]->clip.y, rect.y + 6.5 * sheet.cellHeight / 38.1, 0.3)
            << sheet.name << i;
        EXPECT_LE(titles[i]->clip.Right(), rect.Right() + 0.3) << sheet.name << i;
        EXPECT_LE(titles[i]->clip.Bottom(), rect.Bottom() + 0.3) << sheet.name << i;
    }
    const size_t pages = (start + count + sheet.Count() - 1) / sheet.Count();
    EXPECT_EQ(report.pages.size(), pages) << sheet.name;
}

TEST(LabelSheets, EveryLabelStandsInItsCellOnEveryStandardSheet) {
    for (const auto& sheet : reports::StandardCellSheets()) {
        EXPECT_FALSE(sheet.Problem()) << sheet.name << *sheet.Problem();
        ExpectInCells(sheet, 0, sheet.Count());
    }
    for (int counts : {12, 21, 24, 44})  // the common layouts are there
        EXPECT_TRUE(reports::FindCellSheet("a4-" + std::to_string(counts)));
    EXPECT_EQ(reports::FindCellSheet("CARD-10")->Count(), 10);
}

TEST(LabelSheets, PrintingStartsAtAnyCellOfAUsedSheet) {
    auto sheet = *reports::FindCellSheet("a4-44");
    ExpectInCells(sheet, 7, 3);    // the 8th to 10th cells of the first page
    ExpectInCells(sheet, 40, 10);  // four on the used sheet, six on a new one
    auto cards = CardsReport({{"100001", "10101", "青木　一郎", "1年1組"}}, 4,
                             *reports::FindCellSheet("card-10"), 9, "若葉小学校");
    const auto names = TextsOf(cards, "Memo_name");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_NEAR(names[0]->clip.x, 14 + 91 + 4, 0.3);
    EXPECT_NEAR(names[0]->clip.y, 11 + 4 * 55 + 21, 0.3);
}

TEST(LabelSheets, TheSpineLabelsThreeRows) {
    struct Case {
        const char* callNumber;
        double ndc;
        std::array<std::string, 3> rows;
    } cases[] = {
        {"913 ア 1", 0, {"913", "ア", "1"}}, {"913/ア/2", 0, {"913", "ア", "2"}},
        {"913-ミ", 0, {"913", "ミ", ""}},    {"４８６　フ　上", 0, {"４８６", "フ", "上"}},
        {"", 486, {"486", "", ""}},          {"210 ニ 3 2", 0, {"210", "ニ", "3 2"}},
        {"", 0, {"", "請求記号なし", ""}},   {"　", 0, {"", "請求記号なし", ""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SpineRows({1, "", c.callNumber, c.ndc}), c.rows) << c.callNumber;
    }
    auto report = LabelsReport({{1, "本", "913 ア 1", 913}, {12, "本", "", 0}}, LabelKind::Spine,
                               *reports::FindCellSheet("a4-65"), 0, "");
    EXPECT_EQ(TextsOf(report, "Memo_row2").front()->Text(), "ア");
    // The book number, small, under the rows: the label finds its book.
    const auto numbers = TextsOf(report, "Memo_number");
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_EQ(numbers[1]->Text(), "0000012");
    EXPECT_LT(numbers[0]->font.size, TextsOf(report, "Memo_row1").front()->font.size * 0.6);
    EXPECT_LE(numbers[0]->clip.Bottom(), 10.7 + 21.2 + 0.01);
    EXPECT_EQ(TextsOf(report, "Memo_row2")[1]->Text(), "請求記号なし");
    EXPECT_EQ(WithoutCallNumber({{1, "", "913", 0}, {12, "", "", 0}, {13, "", "", 913}}),
              std::vector<int64_t>{12});
}

// The measures docs/admin.md gives of each standard sheet are the sheet's own; the
// 65-label sheet has the 2.5 mm column gaps of common A4 65-up sheets.
TEST(LabelSheets, TheStandardSheetsHaveTheMeasuresTheDocumentsState) {
    QFile readme(QStringLiteral(KX_TEST_DATA "/../docs/admin.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const auto& sheets = reports::StandardCellSheets();
    for (const auto& sheet : sheets) {
        // | `a4-65` | 38.1 × 21.2 | 5 × 13 | 4.75, 10.7 | 40.6 × 21.2 |
        const QString row = QStringLiteral("| `%1` | %2 × %3 | %4 × %5 | %6, %7 | %8 × %9 |")
                                .arg(QString::fromStdString(sheet.name))
                                .arg(sheet.cellWidth)
                                .arg(sheet.cellHeight)
                                .arg(sheet.columns)
                                .arg(sheet.rows)
                                .arg(sheet.left)
                                .arg(sheet.top)
                                .arg(sheet.pitchX)
                                .arg(sheet.pitchY);
        EXPECT_TRUE(text.contains(row)) << row.toStdString();
    }
    auto sheet = *reports::FindCellSheet("a4-65");
    EXPECT_NEAR(sheet.pitchX, 40.6, 0.05);
    EXPECT_NEAR(sheet.pitchX - sheet.cellWidth, 2.5, 0.05);
    // Centred across the page, as the sheets are cut.
    EXPECT_NEAR(sheet.left, 210 - sheet.CellRect(sheet.Count() - 1).Right(), 0.05);
}

TEST(LabelSheets, ATitleTooLongIsCutToItsCell) {
    std::string title;
    for (int i = 0; i < 30; ++i) title += "長";
    auto report = LabelsReport({{1, title, "", 0}}, LabelKind::Barcode,
                               *reports::FindCellSheet("a4-44"), 0, "");
    const auto* text = TextsOf(report, "Memo_title").front();
    ASSERT_EQ(text->lines.size(), 1u);
    EXPECT_NE(text->Text().find("…"), std::string::npos);
    EXPECT_LT(text->Text().size(), title.size());
}

TEST(LabelSheets, SheetsThatCannotBePrintedAreRefused) {
    auto good = *reports::FindCellSheet("a4-24");
    struct Case {
        const char* what;
        void (*spoil)(reports::CellSheet&);
    } cases[] = {
        {"no width", [](reports::CellSheet& s) { s.cellWidth = 0; }},
        {"no rows", [](reports::CellSheet& s) { s.rows = 0; }},
        {"overlapping", [](reports::CellSheet& s) { s.pitchX = s.cellWidth - 1; }},
        {"off the page", [](reports::CellSheet& s) { s.rows = 9; }},
        {"negative margin", [](reports::CellSheet& s) { s.left = -2; }},
    };
    for (const auto& c : cases) {
        auto sheet = good;
        c.spoil(sheet);
        EXPECT_TRUE(sheet.Problem()) << c.what;
        EXPECT_THROW(LabelsReport(SomeBooks(1), LabelKind::Barcode, sheet, 0, ""),
                     std::runtime_error)
            << c.what;
    }
}

TEST(LabelLists, AReadersFileGivesItsScansNotItsDatesAndTimes) {
    struct Case {
        const char* text;
        std::vector<int64_t> numbers;
    } cases[] = {
        {"2026/04/10 09:12:33\t0000011\n2026/04/10 09:12:35\t0000009\n", {11, 9}},
        {"2026/04/10 09:12:33\tA0000007A\r\n", {7}},  // an NW-7 scan
        {"1001, 1002 1003\n1001", {1001, 1002, 1003}},
        {"0000012\n\n2026/04/10 09:12:40\t0000012\n13", {12, 13}},
    };
    for (const auto& c : cases) EXPECT_EQ(NumbersOfList(c.text), c.numbers) << c.text;
}

class LabelsTest : public YearFixture {};

// Ranges and registration periods are for labelling the shelves' books: a
// discarded book is left out; a list names its books, discarded or not.
TEST_F(LabelsTest, RangesAndPeriodsLeaveDiscardedBooksOutAndAListKeepsThem) {
    RunSql(data, "Update Book Set tourokubi='2026/04/10'");
    RunSql(data, "Update Book Set haikiF=True Where BOOK_ID=2 or BOOK_ID=5");
    auto numbers = [](const std::vector<LabelBook>& books) {
        std::vector<int64_t> out;
        for (const auto& book : books) out.push_back(book.number);
        return out;
    };
    const std::vector<int64_t> shelf{1, 3, 4, 6};
    EXPECT_EQ(numbers(BooksInRange(Connection(), 1, 6)), shelf);
    EXPECT_EQ(numbers(BooksRegistered(Connection(), engine::MakeDate(2026, 4, 1),
                                      engine::MakeDate(2026, 4, 30))),
              shelf);
    std::vector<int64_t> unknown;
    EXPECT_EQ(numbers(BooksOfList(Connection(), {5, 1, 2}, unknown)),
              (std::vector<int64_t>{5, 1, 2}));
    EXPECT_TRUE(unknown.empty());
}

TEST_F(LabelsTest, TheCustomSheetIsKeptWithTheData) {
    EXPECT_FALSE(ReadCustomSheet(Connection()));
    auto sheet = *reports::FindCellSheet("a4-21");
    sheet.left = 1.5, sheet.cellWidth = 68.5;
    SaveCustomSheet(Connection(), sheet);
    sheet.top = 14.25;
    SaveCustomSheet(Connection(), sheet);  // saved again: the same row
    auto read = ReadCustomSheet(Connection());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->name, "custom");
    EXPECT_DOUBLE_EQ(read->left, 1.5);
    EXPECT_DOUBLE_EQ(read->top, 14.25);
    EXPECT_DOUBLE_EQ(read->cellWidth, 68.5);
    EXPECT_EQ(read->Count(), 21);
    EXPECT_EQ(AvailableSheets(Connection()).back().name, "custom");
    sheet.columns = 9;  // off the page: refused, the saved one kept
    EXPECT_THROW(SaveCustomSheet(Connection(), sheet), std::runtime_error);
    EXPECT_EQ(ReadCustomSheet(Connection())->columns, 3);
}

TEST_F(LabelsTest, BooksAndUsersAreChosenAsTheDeskReadsThem) {
    std::vector<int64_t> unknown;
    auto books = BooksOfList(Connection(), NumbersOfList("0000003, 1\n99 3"), unknown);
    ASSERT_EQ(books.size(), 2u);
    EXPECT_EQ(books[0].number, 3);
    EXPECT_EQ(books[1].number, 1);
    EXPECT_EQ(unknown, std::vector<int64_t>{99});
    EXPECT_EQ(BooksInRange(Connection(), 2, 4).size(), 3u);
    RunSql(data, "Delete From Reg Where ID=10");
    EXPECT_EQ(ReadUserNumberMode(Connection()), 4);  // no row: the pupil number
    RunSql(data, "Insert Into Reg (ID, N1) Values (10, 5)");
    EXPECT_EQ(ReadUserNumberMode(Connection()), 5);
    auto pupils = UsersOfClass(Connection(), 102);
    ASSERT_EQ(pupils.size(), 2u);
    EXPECT_EQ(CardNumber(pupils[0], 4), "10201");
    EXPECT_EQ(CardNumber(pupils[0], 5), "100003");
    EXPECT_EQ(pupils[0].className, "1年2組");
    std::vector<std::string> nobody;
    EXPECT_EQ(UsersOfList(Connection(), {"900001", "123456"}, 5, nobody).size(), 1u);
    EXPECT_EQ(nobody, std::vector<std::string>{"123456"});
}

class LabelWindowTest : public YearFixture {
  protected:
    void SetUp() override {
        YearFixture::SetUp();
        PrepareHead({{"meisyou", engine::Value("若葉小学校")}});
        dialogs->Drive("kashidashi::TPW", EnterPin(kashidashi::kDefaultPinText));
        Start();
    }
};

TEST_F(LabelWindowTest, CardsOfAClassAndLabelsOfAListInThePreview) {
    size_t cards = 0, labels = 0;
    std::string school;
    dialogs->Drive("kashidashi::TKanri", [](QDialog& kanri) { Click(kanri, "Button6"); })
        .Drive("kashidashi::TLabel", [&](QDialog& dialog) {
            auto& window = static_cast<kashidashi::TLabel&>(dialog);
            window.findChild<QRadioButton*>("RadioButton3")->setChecked(true);
            window.findChild<QComboBox*>("ComboBox2")->setCurrentIndex(1);  // 1年1組
            window.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(5);  // card-10
            dialogs->Drive("kashidashi::reports::TPreview", [&](QDialog& preview) {
                const auto& report = static_cast<kashidashi::reports::TPreview&>(preview).Report();
                cards = TextsOf(report, "Memo_name").size();
                school = TextsOf(report, "Memo_school").front()->Text();
            });
            Click(window, "Button1");
            window.findChild<QRadioButton*>("RadioButton1")->setChecked(true);
            window.findChild<QRadioButton*>("RadioButton6")->setChecked(true);
            window.findChild<QPlainTextEdit*>("PlainTextEdit1")->setPlainText("1 2 5");
            window.findChild<QSpinBox*>("SpinBox3")->setValue(4);
            auto report = window.Prepare();
            ASSERT_TRUE(report);
            labels = TextsOf(*report, "Memo_title").size();
            // Nothing chosen: told, no preview.
            window.findChild<QPlainTextEdit*>("PlainTextEdit1")->setPlainText("777");
            dialogs->Answer(Dialogs::Kind::Warning, Dialogs::Ok);
            Click(window, "Button1");
            Click(window, "BitBtn1");
        });
    Click(Main(), "Button3");
    EXPECT_EQ(cards, 2u);
    EXPECT_EQ(school, "若葉小学校");
    EXPECT_EQ(labels, 3u);
}

// 図書ラベル・図書番号 at opening; the kind and the selection are chosen
// apart (spine labels by range, cards by list); the kind offers its sheet;
// unknown numbers are told; Enter in a field is the preview, never the
// school-wide save, which asks first.
TEST_F(LabelWindowTest, KindAndSelectionApartThePreviewByEnterAndTheSaveAsks) {
    int previews = 0;
    std::optional<reports::PreparedReport> spines, cards;
    QStringList notes;
    bool isDefault = false;
    std::optional<reports::CellSheet> afterNo;
    RunSql(data, "Delete From Reg Where ID=10");  // cards of pupil numbers
    dialogs->Drive("kashidashi::TKanri", [](QDialog& kanri) { Click(kanri, "Button6"); })
        .Drive("kashidashi::TLabel", [&](QDialog& dialog) {
            auto& w = static_cast<kashidashi::TLabel&>(dialog);
            auto radio = [&](const char* name) { return w.findChild<QRadioButton*>(name); };
            auto sheet = [&] { return w.findChild<QComboBox*>("ComboBox1")->currentText(); };
            EXPECT_TRUE(radio("RadioButton1")->isChecked());
            EXPECT_TRUE(radio("RadioButton4")->isChecked());
            EXPECT_TRUE(sheet().contains(QStringLiteral("44面"))) << sheet().toStdString();
            radio("RadioButton2")->click();  // 背ラベル, still by 図書番号
            EXPECT_TRUE(radio("RadioButton4")->isChecked());
            EXPECT_TRUE(sheet().contains(QStringLiteral("65面"))) << sheet().toStdString();
            w.findChild<QSpinBox*>("SpinBox1")->setValue(2);
            w.findChild<QSpinBox*>("SpinBox2")->setValue(4);
            spines = w.Prepare();
            radio("RadioButton6")->click();  // 一覧, still 背ラベル
            EXPECT_TRUE(radio("RadioButton2")->isChecked());
            radio("RadioButton3")->click();  // 利用者カード by the list
            EXPECT_TRUE(radio("RadioButton6")->isChecked());
            EXPECT_TRUE(sheet().contains(QStringLiteral("名刺"))) << sheet().toStdString();
            w.findChild<QPlainTextEdit*>("PlainTextEdit1")->setPlainText("10101\n10201 99999");
            cards = w.Prepare();
            notes = w.Notes();
            // Enter in a field of the custom sheet: the preview.
            isDefault = w.findChild<QPushButton*>("Button1")->isDefault();
            dialogs
                ->Answer(Dialogs::Kind::Warning, Dialogs::Ok)  // 99999 told
                .Drive("kashidashi::reports::TPreview", [&](QDialog&) { ++previews; });
            w.findChild<QDoubleSpinBox*>("DoubleSpinBox1")->setFocus();
            PressEnter(w, "DoubleSpinBox1");
            // The save asks; No changes nothing.
            dialogs->Answer(Dialogs::Kind::Question, Dialogs::No);
            Click(w, "Button2");
            afterNo = ReadCustomSheet(Connection());
            dialogs->Answer(Dialogs::Kind::Question, Dialogs::Yes);
            Click(w, "Button2");
            EXPECT_TRUE(sheet().contains(QStringLiteral("ユーザー設定"))) << sheet().toStdString();
            Click(w, "BitBtn1");
        });
    Click(Main(), "Button3");
    ASSERT_TRUE(spines);
    EXPECT_EQ(TextsOf(*spines, "Memo_number").size(), 3u);
    ASSERT_TRUE(cards);
    EXPECT_EQ(TextsOf(*cards, "Memo_name").size(), 2u);
    EXPECT_TRUE(TextsOf(*cards, "Memo_title").empty());
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].contains(QStringLiteral("99999"))) << notes[0].toStdString();
    EXPECT_TRUE(isDefault);
    EXPECT_EQ(previews, 1);
    EXPECT_FALSE(afterNo);
    EXPECT_TRUE(ReadCustomSheet(Connection()));
    EXPECT_EQ(dialogs->Unexpected(), 0) << dialogs->Describe();
}

}  // namespace
}  // namespace library_test
