// A grid on a window over a real data folder, for the grid tests: a fresh
// folder with a session and a database "DB", the table Item (ID primary key,
// Title, Price, Memo, Day) filled with `rows` rows, a window holding a
// TLibXGrid and a line edit to take the focus away, and the scripted
// operator for the questions.
#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/data_source.h"
#include "engine/dataset/query.h"
#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "grid/LibXGrid.h"
#include "support/scripted_dialogs.h"
#include "support/widget_keys.h"

namespace grid_test {

class GridFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates Item with rows 1..rows: Title "本 <n>", Price n*10, Day 2024/04/01+n.
    void MakeItems(int rows);
    void RunSql(const std::string& text);
    // Table and query objects, not yet open, kept until the grid has let go
    // of them at the end of the test.
    engine::TDBTable* Table(const std::string& name);
    engine::TDBQuery* Query(const std::string& text, bool live);
    int64_t CountItems();

    // Shows the window with the grid over the data set, the grid focused.
    void Show(engine::TDataSet& dataSet);
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The view's current cell, and the display text of a cell.
    int Row() const { return grid->currentIndex().row(); }
    int Column() const { return grid->currentIndex().column(); }
    QString Cell(int row, int column) const;

    std::filesystem::path folder;
    std::unique_ptr<engine::TDBSession> session;
    std::unique_ptr<engine::TDBDatabase> database;
    std::vector<std::unique_ptr<engine::TDBDataSet>> dataSets;
    std::unique_ptr<kx_test::ScriptedDialogs> dialogs;
    kashidashi::TDataSource source;
    std::unique_ptr<QWidget> window;
    kashidashi::TLibXGrid* grid = nullptr;
    QLineEdit* other = nullptr;
};

// Keys as the operator presses them (support/widget_keys.h).
using kx_test::Press;
using kx_test::Type;
// Lets queued events run.
void Settle();

}  // namespace grid_test
