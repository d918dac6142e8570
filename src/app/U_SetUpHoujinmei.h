// TSetUphoujinmei: the school name registration window. It edits head.meisyou
// (the name the reports print) and can only be left with a name that is not
// blank: it has no close box, Esc does nothing, and OK (Button1) closes it
// only when something remains after every blank is removed. The name is
// stored as typed, blanks included, when the window closes.
#pragma once

#include <QDialog>
#include <memory>

#include "app/field_binding.h"
#include "engine/dataset/table.h"

namespace Ui {
class TSetUphoujinmei;
}

namespace kashidashi {

class TSetUphoujinmei : public QDialog {
    Q_OBJECT
  public:
    explicit TSetUphoujinmei(QWidget* parent = nullptr);
    ~TSetUphoujinmei() override;

    void FormActivate();
    void Button1Click();
    // Saves the name; false (the window stays open) when head cannot take it.
    bool FormClose();

    engine::TDBTable Table1;  // "head" of the settings database

  public slots:
    void reject() override;  // Esc and the window manager's close: refused

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    std::unique_ptr<Ui::TSetUphoujinmei> ui;
    FieldBindings bindings_;
    bool opened_ = false;
    bool nameGiven_ = false;
};

}  // namespace kashidashi
