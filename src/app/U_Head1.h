// THead1: the initial settings window. It edits the desk's head row and the
// two lending settings of Reg row 2, and chooses how the data database is
// reached (a local or shared data folder, or a database server).
//
// Opening (once, when first shown): Reg row 2 fills RadioGroup2 and RDBEdit2,
// silently left empty when Reg or the row cannot be reached; the window's
// own head table opens on the program folder in edit mode; RadioGroup1 shows
// PM4 (1 client/server, anything else local); an empty PathName1 becomes
// "C:\Book\". Every close saves (there is no cancel): Reg row 2 (silently
// skipped on failure, never another Reg row), PM4, PathName1 with a trailing
// separator (also into DataFolder), and every edit. A number edit holding
// something else, or a failed save of head, is told and keeps the window
// open, so nothing typed is lost.
//
// The data folder (RDBEdit8) takes a click and typing but is no Tab stop;
// 参照 (Button3) chooses it with a folder dialog. Enter closes the window as
// Esc and the close button do (every close saves), except on a button,
// which it presses.
//
// Files: U_Head1.cpp (opening, panels, manual page), U_Head1_save.cpp
// (closing), U_Head1_folder.cpp (参照).
#pragma once

#include <QDialog>
#include <memory>

#include "app/field_binding.h"
#include "engine/dataset/table.h"

class QKeyEvent;

namespace Ui {
class THead1;
}

namespace kashidashi {

class TLibMail;

class THead1 : public QDialog {
    Q_OBJECT
  public:
    explicit THead1(QWidget* parent = nullptr);
    ~THead1() override;

    void FormActivate();
    // Saves; false when the window must stay open.
    bool FormClose();
    void RadioGroup1Click();
    void Button2Click();
    // 参照: a folder dialog; a folder without a school is offered an empty
    // or the demo school (or another choice) before it goes into RDBEdit8.
    void Button3Click();

    engine::TDBTable Head;  // "Head" of the settings database
    TLibMail* LibMail1;

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BindEdits();
    void ShowRegRow2();
    void OpenHead();
    bool SaveRegRow2();
    void WriteRegRow2(engine::TDBTable& reg);
    void SaveHead();
    enum class FolderState { School, Empty, Unreadable };
    FolderState SchoolIn(const QString& folder);
    bool OfferNewSchool(const QString& folder);

    std::unique_ptr<Ui::THead1> ui;
    FieldBindings bindings_;
    bool opened_ = false;
    bool regRow2Shown_ = false;
};

}  // namespace kashidashi
