// TSetRenge1: the date range dialog that asks for the period of a list. One
// instance lives for the whole run and is shown again for every list.
//
// At every showing both pickers (DateEdit1 start, DateEdit2 end) show today,
// whatever was chosen before. Button1 "実　　行" closes with OK; BitBtn2,
// Esc and the close box close without. However the dialog closes,
// RangeStartText and RangeEndText then hold the two dates as "yyyy/mm/dd".
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class TSetRenge1;
}

namespace kashidashi {

class TSetRenge1 : public QDialog {
    Q_OBJECT
  public:
    explicit TSetRenge1(QWidget* parent = nullptr);
    ~TSetRenge1() override;

    // Shows the dialog modally (through Dialogs); true when closed with OK.
    bool Execute();

    std::string RangeStartText;  // "yyyy/mm/dd", set when the dialog closes
    std::string RangeEndText;

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

  private:
    std::unique_ptr<Ui::TSetRenge1> ui;
};

}  // namespace kashidashi
