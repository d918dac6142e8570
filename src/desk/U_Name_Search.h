// TName_Search: the name search dialog, for a user who forgot the card. The
// desk creates it for one use (owner: the desk window) and destroys it.
//
// At every showing Query1 is closed (the grid is empty). Enter in Edit1
// lists, ordered by fixed number, the users whose name contains Edit1's text
// (an empty text lists everyone); each Enter replaces the list. Enter there
// never closes the dialog. BitBtn1 "OK" (also Enter in the grid) closes with
// OK, BitBtn2, Esc and the close box with Cancel; either way the caller takes
// the fixed number of Query1's current row. An engine failure of a search is
// shown in the error box and leaves the grid empty.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "data/data_source.h"
#include "engine/dataset/query.h"

namespace Ui {
class TName_Search;
}

namespace kashidashi {

class TName_Search : public QDialog {
    Q_OBJECT
  public:
    explicit TName_Search(QWidget* parent = nullptr);
    ~TName_Search() override;

    // Creates the dialog over the owner, shows it modally (through Dialogs),
    // destroys it and returns SelectedNameId() as it was when it closed.
    static std::string FindUser(QWidget* owner);

    // Name_ID of Query1's current row, whatever the result of the dialog;
    // empty when no search was made or nothing was found.
    std::string SelectedNameId() const;

    void FormActivate();  // closes Query1
    void Search();        // PM1 := "%" + Edit1 + "%"; reopens Query1

    engine::TDBQuery Query1;
    TDataSource DataSource1{&Query1};

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetUpQuery();
    void SetUpGrid();

    std::unique_ptr<Ui::TName_Search> ui;
};

}  // namespace kashidashi
