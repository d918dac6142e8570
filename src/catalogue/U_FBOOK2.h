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
// Each time it becomes active it opens NDC and HKN for the two lookup lists,
// reads the preselected source from head.PM8 (empty counts as 0; the choice
// made here never changes it) and puts the focus in the ISBN box E3. Enter
// in E3 runs the lookup of the chosen source (U_FBOOK2_isbn.cpp); Enter in
// any other box moves along the chain E1 ... E19, E1. OK is disabled and
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
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BindBoxes();
    void FormActivate();
    void E3KeyPress();
    bool RunLookup(const std::string& digits);
    bool SaveIsbn(const std::string& isbn12);
    void E5Exit();
    void RadioGroup7Click();
    void EnterKeyDown(QLineEdit* box);

    std::unique_ptr<Ui::TFBook2> ui;
};

}  // namespace kashidashi
