// Keys: the fixed columns, Up and Down, appending on the last record, and
// Ctrl+Delete, over tables, read-only grids and query results.
#include <QApplication>
#include <QKeyEvent>

#include "grid/grid_fixture.h"

namespace grid_test {
namespace {

using kashidashi::Dialogs;

class FixedColumns : public GridFixture {
  protected:
    void SetUp() override {
        GridFixture::SetUp();
        MakeItems(3);
        table = Table("Item");
        table->Open();
        for (const char* name : {"ID", "Title", "Price", "Memo", "Day"}) grid->AddColumn(name, 60);
        grid->SetFixedCols(2);
        grid->SetOptions(grid->Options() | kashidashi::dgTabs);
        Show(*table);
    }
    engine::TDBTable* table = nullptr;
};

TEST_F(FixedColumns, NoKeyLandsOnAFixedColumn) {
    EXPECT_EQ(Column(), 2);  // the grid starts after the fixed columns
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int from, to;
    };
    for (const Case& c :
         {Case{Qt::Key_Home, Qt::NoModifier, 4, 2}, Case{Qt::Key_Left, Qt::NoModifier, 2, 2},
          Case{Qt::Key_Left, Qt::NoModifier, 3, 2}, Case{Qt::Key_Left, Qt::ControlModifier, 4, 2},
          Case{Qt::Key_Tab, Qt::NoModifier, 2, 3},
          Case{Qt::Key_Backtab, Qt::ShiftModifier, 3, 2}}) {
        grid->SetSelectedIndex(c.from);
        ASSERT_EQ(Column(), c.from);
        Key(c.key, c.modifiers);
        EXPECT_EQ(Column(), c.to) << "key " << c.key << " from " << c.from;
    }
}

TEST_F(FixedColumns, TabPastTheLastColumnGoesToTheNextRecordsFirstFreeColumn) {
    grid->SetSelectedIndex(4);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Row(), 1);
    EXPECT_EQ(Column(), 2);
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 2);
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Row(), 0);
    EXPECT_EQ(Column(), 4);
}

TEST_F(FixedColumns, ClickOnAFixedColumnSelectsTheRowOnly) {
    grid->setCurrentIndex(grid->model()->index(2, 0));
    EXPECT_EQ(Row(), 2);
    EXPECT_EQ(Column(), 2);
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 3);
}

TEST_F(FixedColumns, WithoutDgTabsTabLeavesTheGrid) {
    grid->SetOptions(kashidashi::kDefaultGridOptions);
    Key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), other);
    EXPECT_EQ(Column(), 2);
}

TEST_F(FixedColumns, RowSelectLetsLeftReachEveryColumn) {
    grid->SetOptions(kashidashi::dgRowSelect | kashidashi::dgTabs);
    grid->SetSelectedIndex(1);
    EXPECT_EQ(grid->SelectedIndex(), 1);
}

TEST_F(GridFixture, UpAndDownMoveTheRecordAndTheRecordMovesTheGrid) {
    MakeItems(3);
    auto table = Table("Item");
    table->Open();
    Show(*table);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 3);
    EXPECT_EQ(Row(), 2);
    Key(Qt::Key_Up);
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 2);
    table->First();
    EXPECT_EQ(Row(), 0);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 3);
    grid->setCurrentIndex(grid->model()->index(1, 1));  // a click
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 2);
}

// Down on the last record appends only where a new record could be stored.
TEST_F(GridFixture, DownOnTheLastRecordAppendsOnlyOnAnEditableTable) {
    MakeItems(2);
    struct Case {
        const char* name;
        bool readOnlyGrid, readOnlyTable, query, live;
        bool appends;
    };
    for (const Case& c : {Case{"table", false, false, false, false, true},
                          Case{"read-only grid", true, false, false, false, false},
                          Case{"read-only table", false, true, false, false, false},
                          Case{"live query", false, false, true, true, true},
                          Case{"private copy", false, false, true, false, false}}) {
        engine::TDBDataSet* dataSet = nullptr;
        if (c.query) {
            dataSet = Query("SELECT * FROM Item", c.live);
        } else {
            auto* table = Table("Item");
            table->ReadOnly = c.readOnlyTable;
            dataSet = table;
        }
        dataSet->Open();
        grid->SetReadOnly(c.readOnlyGrid);
        Show(*dataSet);
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);
        Key(Qt::Key_Down);  // an untouched new record takes no second one
        EXPECT_EQ(dataSet->State() == engine::DataSetState::dsInsert, c.appends) << c.name;
        EXPECT_EQ(grid->model()->rowCount(), c.appends ? 3 : 2) << c.name;
        Key(Qt::Key_Up);  // gives the untouched record up
        EXPECT_EQ(dataSet->State(), engine::DataSetState::dsBrowse) << c.name;
        EXPECT_EQ(Row(), c.appends ? 1 : 0) << c.name;
        grid->SetDataSource(nullptr);
    }
    EXPECT_EQ(CountItems(), 2);
}

// Ctrl+Delete asks and deletes on a table; elsewhere nothing is asked or deleted.
TEST_F(GridFixture, CtrlDeleteAsksAndDeletesOnlyWhereRowsCanBeDeleted) {
    MakeItems(3);
    struct Case {
        const char* name;
        bool readOnlyGrid, query, live;
        int answer;
        int64_t left;
    };
    for (const Case& c : {Case{"table, no", false, false, false, Dialogs::No, 3},
                          Case{"table, yes", false, false, false, Dialogs::Yes, 2},
                          Case{"live query", false, true, true, Dialogs::Yes, 1},
                          Case{"read-only grid", true, false, false, 0, 1},
                          Case{"private copy", false, true, false, 0, 1}}) {
        dialogs.reset();
        dialogs = std::make_unique<kx_test::ScriptedDialogs>();
        if (c.answer) dialogs->Answer(Dialogs::Kind::Question, c.answer);
        engine::TDBDataSet* dataSet =
            c.query ? static_cast<engine::TDBDataSet*>(Query("SELECT * FROM Item", c.live))
                    : Table("Item");
        dataSet->Open();
        grid->SetReadOnly(c.readOnlyGrid);
        Show(*dataSet);
        Key(Qt::Key_Delete, Qt::ControlModifier);
        EXPECT_EQ(dialogs->Texts().size(), c.answer ? 1u : 0u) << c.name;
        if (c.answer) {
            EXPECT_EQ(dialogs->Texts()[0], "レコードを削除してもよいですか？");
        }
        EXPECT_EQ(dialogs->Unexpected(), 0) << c.name;
        EXPECT_EQ(CountItems(), c.left) << c.name;
        EXPECT_EQ(grid->model()->rowCount(), c.left) << c.name;
        grid->SetDataSource(nullptr);
    }
}

TEST_F(GridFixture, CtrlDeleteWithoutConfirmDeleteAsksNothing) {
    MakeItems(2);
    auto table = Table("Item");
    table->Open();
    grid->SetOptions(grid->Options() & ~kashidashi::dgConfirmDelete);
    Show(*table);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(dialogs->Records().empty());
    EXPECT_EQ(CountItems(), 1);
}

TEST_F(GridFixture, OnKeyPressComesFirstAndCanConsumeTheKey) {
    MakeItems(3);
    auto table = Table("Item");
    table->Open();
    std::vector<int> seen;
    grid->OnKeyPress = [&](QKeyEvent& event) {
        seen.push_back(event.key());
        return event.key() == Qt::Key_Down;
    };
    Show(*table);
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(seen, (std::vector<int>{Qt::Key_Down, Qt::Key_Return}));
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 1);  // Down was consumed
}

}  // namespace
}  // namespace grid_test
