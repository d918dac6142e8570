// Columns: captions, widths, hidden columns, the fields of a grid without
// persistent columns, and a closed data set.
#include <QHeaderView>

#include "grid/grid_fixture.h"

namespace grid_test {
namespace {

using kashidashi::TLibXGrid;

TEST_F(GridFixture, PersistentColumnsTakeTitleWidthAndVisibility) {
    MakeItems(3);
    auto table = Table("Item");
    table->Open();
    table->FieldByName("Price").SetDisplayLabel("価格");
    grid->AddColumn("ID", 50).Title = QStringLiteral("番号");
    grid->AddColumn("Price");
    grid->AddColumn("Memo").Visible = false;
    grid->ColumnsChanged();
    Show(*table);

    auto* model = grid->model();
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "番号");
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "価格");  // the display label
    EXPECT_EQ(grid->ColumnWidth(0), 50);
    EXPECT_EQ(grid->columnWidth(0), 50);
    EXPECT_GT(grid->ColumnWidth(1), 50);  // ten digits of a money field
    EXPECT_EQ(grid->ColumnWidth(2), 0);   // hidden
    EXPECT_TRUE(grid->isColumnHidden(2));
    EXPECT_EQ(Cell(1, 0), "2");
    EXPECT_EQ(grid->ColumnField(1), &table->FieldByName("Price"));
}

TEST_F(GridFixture, DraggedWidthIsTheColumnsWidth) {
    MakeItems(1);
    auto table = Table("Item");
    table->Open();
    grid->AddColumn("Title");
    Show(*table);
    grid->horizontalHeader()->resizeSection(0, 123);
    EXPECT_EQ(grid->ColumnWidth(0), 123);
    table->Refresh();  // re-reading the rows keeps it
    EXPECT_EQ(grid->columnWidth(0), 123);
}

TEST_F(GridFixture, WithoutPersistentColumnsEveryFieldIsAColumn) {
    MakeItems(2);
    auto table = Table("Item");
    table->Open();
    Show(*table);
    ASSERT_EQ(grid->ColumnCount(), 5);
    EXPECT_EQ(grid->Columns(1).FieldName, "Title");
    EXPECT_EQ(Cell(1, 1), "本 2");
    table->Close();
    EXPECT_EQ(grid->ColumnCount(), 0);
}

TEST_F(GridFixture, ClosedDataSetShowsNoRows) {
    MakeItems(3);
    auto table = Table("Item");
    grid->AddColumn("Title");
    Show(*table);
    EXPECT_EQ(grid->model()->rowCount(), 0);
    table->Open();
    EXPECT_EQ(grid->model()->rowCount(), 3);
    table->Close();
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_FALSE(grid->CanEdit());
    EXPECT_FALSE(grid->CanDelete());
    EXPECT_EQ(grid->ColumnField(0), nullptr);
}

TEST_F(GridFixture, OptionsShapeTheView) {
    grid->SetOptions(kashidashi::dgRowSelect);
    EXPECT_TRUE(grid->horizontalHeader()->isHidden());
    EXPECT_TRUE(grid->verticalHeader()->isHidden());
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(TLibXGrid().Options(), kashidashi::kDefaultGridOptions);
}

TEST_F(GridFixture, IndicatorMarksTheCurrentRecordAndItsState) {
    MakeItems(3);
    auto table = Table("Item");
    table->Open();
    Show(*table);
    table->Next();
    auto mark = [&](int row) { return grid->model()->headerData(row, Qt::Vertical).toString(); };
    EXPECT_EQ(mark(0), "");
    EXPECT_EQ(mark(1), "▶");
    table->Edit();
    EXPECT_EQ(mark(1), "Ｉ");
    table->Cancel();
    table->Append();
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(mark(2), "＊");
    table->Cancel();
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(mark(1), "▶");
}

// UsingSet: numbers and dates take the format, other fields keep theirs.
TEST_F(GridFixture, UsingSetFormatsNumbersAndDatesOnly) {
    MakeItems(1);
    auto table = Table("Item");
    table->Open();
    struct Case {
        const char* field;
        bool takesFormat;
        const char* shown;
    };
    for (const Case& c : {Case{"ID", true, "0001"}, Case{"Price", true, "0010"},
                          Case{"Day", true, "2024/04/02"}, Case{"Title", false, "本 1"}}) {
        TLibXGrid::UsingSet(table->FieldByName(c.field), "0000");
        EXPECT_EQ(table->FieldByName(c.field).DisplayFormat, c.takesFormat ? "0000" : "")
            << c.field;
        if (c.takesFormat && std::string(c.field) == "Day") continue;
        EXPECT_EQ(table->FieldByName(c.field).DisplayText(), c.shown) << c.field;
    }
}

}  // namespace
}  // namespace grid_test
