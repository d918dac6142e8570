// In-place editing: a cell written through the data set, the row posted when
// it is left, an untouched new record given up when the grid is left, and
// the editor's input method.
#include <QKeyEvent>
#include <QLineEdit>

#include "grid/grid_fixture.h"

namespace grid_test {
namespace {

using engine::DataSetState;

// Opens the editor of a cell and types the text (the old text selected, so replaced).
void TypeIntoCell(kashidashi::TLibXGrid& grid, int row, int column, const QString& text) {
    grid.setCurrentIndex(grid.model()->index(row, column));
    grid.edit(grid.currentIndex());
    auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(grid.currentIndex()));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    Type(*editor, text);
}

TEST_F(GridFixture, TypingEditsAndLeavingTheRowPosts) {
    MakeItems(3);
    auto table = Table("Item");
    table->Open();
    grid->AddColumn("ID");
    grid->AddColumn("Title");
    Show(*table);
    TypeIntoCell(*grid, 1, 1, QStringLiteral("新しい題名"));
    EXPECT_EQ(table->State(), DataSetState::dsEdit);  // the first change began the edit
    Key(Qt::Key_Down);
    EXPECT_EQ(table->State(), DataSetState::dsBrowse);
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 3);
    EXPECT_EQ(Cell(1, 1), "新しい題名");
    auto check = Table("Item");
    check->Open();
    ASSERT_TRUE(check->FindKey({engine::Value(2)}));
    EXPECT_EQ(check->FieldByName("Title").AsString(), "新しい題名");
}

TEST_F(GridFixture, EnterHandsTheTypedTextToTheWindowsHandler) {
    MakeItems(2);
    auto query = Query("SELECT ID, Memo FROM Item ORDER BY ID", false);  // a private copy
    query->Open();
    std::string saved;
    grid->OnKeyPress = [&](QKeyEvent& event) {
        if (event.key() != Qt::Key_Return) return false;
        saved = query->FieldByName("Memo").AsString();
        query->Post();
        return true;
    };
    Show(*query);
    TypeIntoCell(*grid, 0, 1, QStringLiteral("予約メモ"));
    Press(*grid->indexWidget(grid->currentIndex()), Qt::Key_Return);
    EXPECT_EQ(saved, "予約メモ");
    EXPECT_EQ(query->State(), DataSetState::dsBrowse);
    EXPECT_EQ(Cell(0, 1), "予約メモ");
}

TEST_F(GridFixture, NoEditorWhereCellsCannotBeChanged) {
    MakeItems(1);
    auto table = Table("Item");
    table->ReadOnly = true;
    table->Open();
    grid->AddColumn("Title");
    Show(*table);
    EXPECT_FALSE(grid->CanEdit());
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable);
    table->Close();
    table->ReadOnly = false;
    table->Open();
    grid->Columns(0).ReadOnly = true;
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable);
    grid->Columns(0).ReadOnly = false;
    EXPECT_TRUE(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable);
    source.AutoEdit = false;  // typing no longer begins an edit; an edit under way takes it
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable);
    table->Edit();
    EXPECT_TRUE(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable);
}

TEST_F(GridFixture, UntouchedInsertIsCancelledWhenTheGridIsLeft) {
    MakeItems(2);
    auto table = Table("Item");
    table->Open();
    Show(*table);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    ASSERT_EQ(table->State(), DataSetState::dsInsert);
    other->setFocus();
    Settle();
    EXPECT_EQ(table->State(), DataSetState::dsBrowse);
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(CountItems(), 2);
}

TEST_F(GridFixture, TouchedInsertSurvivesLeavingTheGridAndPostsWithItsRow) {
    MakeItems(2);
    auto table = Table("Item");
    table->Open();
    grid->AddColumn("ID");
    Show(*table);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    TypeIntoCell(*grid, 2, 0, QStringLiteral("7"));
    other->setFocus();  // from the cell editor to another control
    Settle();
    EXPECT_EQ(table->State(), DataSetState::dsInsert);
    grid->setFocus();
    Key(Qt::Key_Up);
    EXPECT_EQ(CountItems(), 3);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(Cell(2, 0), "7");
    EXPECT_EQ(table->FieldByName("ID").AsInteger(), 2);
}

TEST_F(GridFixture, PostErrorIsShownAndTheRecordStays) {
    MakeItems(2);
    auto table = Table("Item");
    table->Open();
    grid->AddColumn("ID");
    Show(*table);
    dialogs->Answer(kx_test::Dialogs::Kind::Error, kx_test::Dialogs::Ok);
    TypeIntoCell(*grid, 0, 0, QStringLiteral("2"));  // the key of the second row
    Key(Qt::Key_Down);
    EXPECT_EQ(dialogs->Records().size(), 1u) << dialogs->Describe();
    EXPECT_EQ(table->State(), DataSetState::dsEdit);
    EXPECT_EQ(Row(), 0);
}

TEST_F(GridFixture, EditorAsksForTheColumnsInputMethod) {
    MakeItems(1);
    auto table = Table("Item");
    table->Open();
    grid->AddColumn("Title").ImeMode = kashidashi::TImeMode::imClose;
    grid->AddColumn("Memo").ImeMode = kashidashi::TImeMode::imHira;
    grid->AddColumn("Day").ImeMode = kashidashi::TImeMode::imDisable;
    Show(*table);
    struct Case {
        int column;
        bool inputMethod;
        Qt::InputMethodHints hints;
    };
    for (const Case& c : {Case{0, true, Qt::ImhPreferLatin}, Case{1, true, Qt::ImhNone},
                          Case{2, false, Qt::ImhLatinOnly}}) {
        grid->setCurrentIndex(grid->model()->index(0, c.column));
        grid->edit(grid->currentIndex());
        QWidget* editor = grid->indexWidget(grid->currentIndex());
        ASSERT_NE(editor, nullptr) << c.column;
        EXPECT_EQ(editor->testAttribute(Qt::WA_InputMethodEnabled), c.inputMethod) << c.column;
        EXPECT_EQ(editor->inputMethodHints(), c.hints) << c.column;
    }
}

}  // namespace
}  // namespace grid_test
