// TFBook2 "図書の簡易登録": the quick registration of one new book from the
// lending desk. The window edits the current row of the data module's BOOK
// (appended by the desk, BOOK_ID and tourokubi set) through one bound box
// per column, E1 to E19; it owns no data.
//
// Contract with the desk: shown modally; the result is QDialog::Accepted
// (OK) or QDialog::Rejected (キャンセル, Esc while キャンセル is enabled, or
// the window's frame). The window saves the row only after a 13-digit ISBN
// (ISBN := its first twelve digits); otherwise the desk posts the pending
// row on OK and drops it on any other result.
//
// Each time it becomes active it opens NDC and HKN for the two lookup lists
// and reads the preselected source from head.PM8 (empty counts as 0; the
// choice made here never changes it); the first activation puts the focus in
// the ISBN box E3, later ones (after a message box) leave it where it is.
// Enter in E3 runs the lookup of the chosen source (U_FBOOK2_isbn.cpp) on a
// thread of its own: meanwhile the window repaints, shows the wait cursor
// and "ISBNで検索しています…", and keys, clicks and its close box wait for
// the lookup's end. Enter in any other box moves along the chain E1 ... E19,
// E1. Each box takes at most the code page 932 bytes of its column; the two
// reading boxes (フリガナ) take Japanese input and keep half-width katakana.
// An engine error in any of the window's event handlers is shown in the
// standard error box; the window stays open. OK is disabled and
// キャンセル enabled at first; leaving the title box E5 with a title, or a
// 13-digit ISBN, enables OK and disables キャンセル; leaving E5 empty
// disables OK. OK writes what is typed in the box that has the focus;
// closing the window closes NDC and HKN.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class TFBook2;
}
class QLineEdit;

namespace kashidashi {

class TFBook2 : public QDialog {
    Q_OBJECT
  public:
    explicit TFBook2(QWidget* parent = nullptr);
    ~TFBook2() override;

    void done(int result) override;

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BindBoxes();
    void FormActivate();
    void E3KeyPress();
    bool RunLookup(const std::string& digits);
    void Search(const std::string& digits);
    void ShowSearching(bool searching);
    bool SaveIsbn(const std::string& isbn12);
    void E5Exit();
    void RadioGroup7Click();
    void EnterKeyDown(QLineEdit* box);
    bool FilterBoxEvent(QLineEdit* box, QEvent* event);
    // Runs the handler; an error it raises is shown in the standard error box.
    template <class Handler>
    void Guarded(Handler handler);

    std::unique_ptr<Ui::TFBook2> ui;
    bool activated_ = false;  // the first activation has put the focus in E3
    bool searching_ = false;  // a lookup runs (U_FBOOK2_isbn.cpp)
};

}  // namespace kashidashi
