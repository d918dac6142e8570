// TFgyoumu1_W2: the reservation list window. It lists the reservations of a
// book and of every copy of its title, in the order they were taken, when a
// reserved book is lent (lending form) or comes back (return form). One
// instance lives for the whole run.
//
// YoyakuFindQry (the window's own query, a private copy of its result) lists
// the rows of yoyaku whose Book_ID is PM1, or whose ISBN_ID is not NULL and
// equals PM2, ordered by yoyakuDTime, with the user's current numbers from
// Name and the title from Book. Its calculated field "利用者番号" is the
// user's Seito_No in UserNumberMode 4, Name_ID in mode 5, empty otherwise.
//
// LibXGrid1 shows yoyakuDTime, 利用者番号 and Name (fixed, read-only) and
// Memo (editable, hiragana input). Enter in the grid stores the memo of the
// current row in the table (UpdateQry) and moves to the next row; a memo
// changed and left without Enter stays in the copy and never reaches the
// table. No row can be added or deleted through the grid. DBText1 shows the
// title of the current row.
//
// At every showing the query is opened and RadioGroup1 takes the focus, and
// RadioGroup1 takes it again whenever the window becomes active (a failed
// open is shown once, not at every activation its error box brings about);
// closing the window drops a pending cell edit and closes the query.
// "リスト印刷" previews the book's reservations and puts the query back on its
// first row; "予約表の印刷" previews the notice of the current row, the title
// on the user's half only when "書名の印刷" is "する". Engine failures inside
// the window's handlers are shown in the error box.
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>

#include "data/data_source.h"
#include "engine/dataset/query.h"

class QKeyEvent;

namespace Ui {
class TFgyoumu1_W2;
}

namespace kashidashi {

class TFgyoumu1_W2 : public QDialog, private engine::DataSetObserver {
    Q_OBJECT
  public:
    explicit TFgyoumu1_W2(QWidget* parent = nullptr);
    ~TFgyoumu1_W2() override;

    // Lending form: Button1 "貸出する" and Label2 shown. Lists the
    // reservations of the book and its title (isbn12: the first twelve
    // digits of its ISBN, empty when it has none), shows the window modally
    // (through Dialogs) and returns true only when it closed through 貸出する.
    bool ShowLendingForm(int64_t bookId, const std::string& isbn12);
    // Return form: Button1 and Label2 hidden, BitBtn2 shown; the same list.
    void ShowReturnForm(int64_t bookId, const std::string& isbn12);

    // The window's handlers, public for the tests.
    void FormActivate();  // opens YoyakuFindQry, focuses RadioGroup1
    void FormClose();     // cancels a pending cell edit, closes YoyakuFindQry
    // Enter (true: consumed; other keys false): posts the cell edit in the
    // copy, stores the row's memo with UpdateQry and, once the cell editor
    // has closed (the next turn of the event loop), moves to the next row.
    bool LibXGrid1KeyPress(QKeyEvent& event);

    engine::TDBQuery YoyakuFindQry;
    engine::TDBQuery UpdateQry;
    TDataSource DataSource1{&YoyakuFindQry};

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  public slots:
    void done(int result) override;

  private:
    int ShowForm(bool lending, int64_t bookId, const std::string& isbn12);
    void SetUpQueries();
    void SetUpFields();
    void SetUpGrid();
    void SetUpButtons();
    void YoyakuFindQryCalcFields(engine::TDataSet& dataSet) const;
    void SaveMemo();
    void NextRow();
    void ShowTitle();
    void DataSetChanged(engine::TDataSet& dataSet, engine::DataSetChange change) override;

    std::unique_ptr<Ui::TFgyoumu1_W2> ui;
};

}  // namespace kashidashi
