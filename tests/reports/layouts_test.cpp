// The desk's five layouts from the program's resources, over fixture rows:
// the display rules of fields and expressions, hidden zeros, the count, the
// notice's two halves, the barcode sheet and Code 39's geometry.
#include <gtest/gtest.h>

#include "reports/code39.h"
#include "reports/fixture_source.h"
#include "reports/layout_file.h"
#include "reports/renderer.h"

namespace kashidashi::reports {
namespace {

using namespace testing;
using engine::FieldType;

FixtureSource Head() {
    return FixtureSource("rptHead", {{{"meisyou", Text("みどり小学校")}}});
}

Row Loan(int64_t user, const std::string& name, FieldReading ndc, FieldReading returned) {
    return {{"利用者番号", Int(user, "0000" + std::to_string(user))},
            {"name", Text(name)},
            {"BOOK_ID", Int(123, "0000123")},
            {"syomei2", Text("ぐりとぐら")},
            {"NDC_ID", ndc},
            {"kashidashibi", {engine::Value(engine::Date{45000}), FieldType::Date, "2023/03/15"}},
            {"henkyakuyotei", {engine::Value(engine::Date{45007}), FieldType::Date, "2023/03/22"}},
            {"henkyakubi", returned}};
}

std::vector<std::string> RowTexts(const Page& page, size_t firstCell, size_t cells) {
    std::vector<std::string> texts;
    // The master cells are the page's texts after the title and the headers.
    for (size_t i = firstCell; i < firstCell + cells; ++i) texts.push_back(page.texts.at(i).Text());
    return texts;
}

TEST(Layouts, PeriodListPrintsExpressionsPlainHidesZerosAndCountsItsRows) {
    Layout layout = LoadLayout(QStringLiteral("period_list"));
    layout.FindObject("memo_title")->text = "貸出図書一覧表 ";
    layout.FindObject("MEMO_HANI")->text = "貸出期日 2023/03/01 ～ 2023/03/31";
    FixtureSource head = Head();
    FixtureSource loans("rptDBDataset2",
                        {Loan(7, "山田", Int(913, "913"),
                              {engine::Value(engine::Date{45003}), FieldType::Date, "2023/03/18"}),
                         Loan(12, "佐藤", Int(0, "0"), NullOf(FieldType::Date)),
                         Loan(30, "鈴木", NullOf(FieldType::Integer), NullOf(FieldType::Date))});
    PreparedReport report = RenderReport(layout, {&loans, &head});
    ASSERT_EQ(report.pages.size(), 1u);
    const Page& page = report.pages[0];
    // Title (3 cells), page header (6 cells), then 7 cells a row.
    EXPECT_EQ(page.texts[0].Text(), "貸出図書一覧表 ");
    EXPECT_EQ(page.texts[1].Text(), "みどり小学校");
    EXPECT_EQ(RowTexts(page, 9, 7),
              (std::vector<std::string>{"7  山田", "0000123", "ぐりとぐら", "913", "2023/03/15",
                                        "2023/03/22", "2023/03/18"}));
    EXPECT_EQ(RowTexts(page, 16, 7)[3], "");
    EXPECT_EQ(RowTexts(page, 16, 7)[6], "");
    EXPECT_EQ(RowTexts(page, 23, 7)[3], "");
    EXPECT_EQ(TextsOf(page, "Count")[0]->Text(), "件数　　3");
    // Memo_hani grows with its text and keeps its right edge on the band's.
    const PageText* range = TextsOf(page, "Memo_hani")[0];
    EXPECT_NEAR(range->clip.Right(), 210.0 - 15, 1e-9);
    EXPECT_GT(range->clip.w, 40.0);
    EXPECT_NEAR(TextsOf(page, "Memo_title")[0]->clip.x, 15 + (180 - 70) / 2.0, 1e-9);
    EXPECT_TRUE(loans.closed);
}

TEST(Layouts, ThePeriodListCountEqualsTheRowsPrintedOverSeveralPages) {
    Layout layout = LoadLayout(QStringLiteral("period_list"));
    FixtureSource head = Head();
    std::vector<Row> rows;
    for (int i = 1; i <= 130; ++i)
        rows.push_back(
            Loan(i, "利用者", Int(i % 10, std::to_string(i % 10)), NullOf(FieldType::Date)));
    FixtureSource loans("rptDBDataset2", rows);
    PreparedReport report = RenderReport(layout, {&loans, &head});
    ASSERT_GE(report.pages.size(), 3u);
    size_t printed = 0;
    for (const Page& page : report.pages)
        for (const PageText& text : page.texts) printed += text.Text().ends_with("  利用者");
    EXPECT_EQ(printed, 130u);
    EXPECT_EQ(TextsOf(report.pages.back(), "Count")[0]->Text(), "件数　　130");
}

FixtureSource Reservation() {
    return FixtureSource(
        "rptDBDataset1",
        {{{"利用者番号", Text("00042")},
          {"Name", Text("田中はなこ")},
          {"yoyakuDTime",
           {engine::Value(engine::DateTime{}), FieldType::DateTime, "2024/04/01 10:20:30"}},
          {"syomei2", Text("はらぺこあおむし")}}});
}

TEST(Layouts, TheNoticeHidesTheTitleOnTheUsersHalfOnly) {
    for (bool shown : {true, false}) {
        Layout layout = LoadLayout(QStringLiteral("reservation_notice"));
        layout.FindObject("memo_syomei")->visible = shown;
        FixtureSource reservation = Reservation();
        FixtureSource head = Head();
        PreparedReport report = RenderReport(layout, {&reservation, &head});
        ASSERT_EQ(report.pages.size(), 1u);
        const Page& page = report.pages[0];
        EXPECT_EQ(TextsOf(page, "memo_syomei").size(), shown ? 1u : 0u);
        ASSERT_EQ(TextsOf(page, "copy_syomei").size(), 1u);
        EXPECT_EQ(TextsOf(page, "copy_syomei")[0]->Text(), "はらぺこあおむし");
        EXPECT_EQ(TextsOf(page, "Notice_booklabel").size(), 1u);
        EXPECT_EQ(TextsOf(page, "Copy_user")[0]->Text(), "00042");
        EXPECT_EQ(TextsOf(page, "Notice_date")[0]->Text(), "2024/04/01 10:20:30");
        EXPECT_DOUBLE_EQ(TextsOf(page, "Copy_title")[0]->clip.y, 10 + 168.0);
    }
}

TEST(Layouts, TheBarcodeSheetIsOnePageWithoutDataAndCode39AtItsSize) {
    Layout layout = LoadLayout(QStringLiteral("control_barcodes"));
    PreparedReport report = RenderReport(layout, {});
    ASSERT_EQ(report.pages.size(), 1u);
    const Page& page = report.pages[0];
    struct Case {
        const char* name;
        const char* text;
        double left, widthMm;
    } cases[] = {{"LendingCode", "LENDING", 16.2, 61.383},
                 {"ReturnCode", "RETURN", 113.2, 54.504},
                 {"ActionCode", "ACTION", 18.4, 54.504},
                 {"CancelCode", "CANCEL", 112.4, 54.504}};
    for (const Case& c : cases) {
        const PageText* text = TextsOf(page, c.name).at(0);
        EXPECT_EQ(text->Text(), c.text);
        EXPECT_NEAR(text->clip.x, 10 + c.left, 1e-9) << c.name;
        EXPECT_NEAR(text->clip.w, c.widthMm, 1e-3) << c.name;
        EXPECT_NEAR(text->clip.Bottom() - 10, TextsOf(page, c.name)[0]->clip.y - 10 + text->clip.h,
                    1e-9);
    }
    EXPECT_EQ(page.fills.size(), (9 + 8 + 8 + 8) * 5u);  // five bars a character
    EXPECT_EQ(TextsOf(page, "Heading1")[0]->lines.size(), 2u);
}

TEST(Code39, EveryCharacterHasFiveBarsFourSpacesAndThreeWideElements) {
    const std::string characters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*";
    ASSERT_EQ(characters.size(), 44u);
    std::set<std::string_view> patterns;
    for (char c : characters) {
        auto pattern = Code39Pattern(c);
        ASSERT_TRUE(pattern) << c;
        EXPECT_EQ(pattern->size(), 9u);
        EXPECT_EQ(std::count(pattern->begin(), pattern->end(), 'w'), 3) << c;
        patterns.insert(*pattern);
    }
    EXPECT_EQ(patterns.size(), 44u);
    EXPECT_FALSE(Code39Pattern('#'));
    EXPECT_FALSE(Code39Bars("A*B"));
}

TEST(Code39, SixLettersAre206And7Are232NinetySixthsOfAnInch) {
    struct Case {
        const char* text;
        int units;  // of 2/96 inch
        double mm;
    } cases[] = {{"ACTION", 103, 54.5}, {"LENDING", 116, 61.4}, {"A", 38, 20.11}};
    for (const Case& c : cases) {
        EXPECT_EQ(Code39Units(c.text), c.units) << c.text;
        EXPECT_NEAR(Code39Units(c.text) * kCode39NarrowMm, c.mm, 0.05) << c.text;
        auto bars = Code39Bars(c.text);
        ASSERT_TRUE(bars);
        EXPECT_EQ(bars->back().start + bars->back().width, c.units) << c.text;
        EXPECT_EQ(bars->size(), (std::strlen(c.text) + 2) * 5);
    }
}

}  // namespace
}  // namespace kashidashi::reports
