// TFgyoumu1: the lending desk window ("貸出・返却"), created anew for each
// opening by the main window, shown modally and destroyed when it closes.
//
// The window is a view of a desk::Desk: before each operation it copies the
// operator's typing, choices and dates into the desk state; after it, it
// shows the state (texts, tab, focus, visible controls). The rules live in
// the desk; this file holds layout and wiring only.
//
// Events: the first showing runs the opening sequence; closing runs the
// closing sequence; Enter in an entry field, F1 and F2 in Edit4, the tab
// change, the focus moving between fields, and the buttons and option groups
// call the desk. Engine failures are shown in the standard error box.
//
// Files: U_Fgyoumu1.cpp (construction and events), U_Fgyoumu1_view.cpp (the
// copy between the controls and the desk state), U_Fgyoumu1_grids.cpp (the
// grids' columns), U_Fgyoumu1_reservations.cpp (the reservation tabs' and
// the period lists' controls).
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

#include "desk/desk.h"

namespace Ui {
class TFgyoumu1;
}

class QKeyEvent;
class QLineEdit;

namespace kashidashi {

class TFgyoumu1 : public QDialog {
    Q_OBJECT
  public:
    explicit TFgyoumu1(QWidget* parent = nullptr);
    ~TFgyoumu1() override;

    desk::Desk& Desk() { return desk_; }
    // The entry field of a desk edit; nullptr for an edit the window lacks.
    QLineEdit* EditOf(desk::DeskEdit edit) const;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetUpControls();
    void SetUpGrids();
    void Connect();
    void FormActivate();
    void FormClose();
    void PlaceUserNumberControls();
    // Runs a desk operation between Pull and Push; shows what it throws.
    void Run(const std::function<void()>& operation);
    void Pull();
    void Push();
    void PushFocus();
    void ShowTab(int tab);
    void FocusChanged(QWidget* now);
    desk::DeskEdit DeskEditOf(const QObject* widget) const;
    bool KeyPressed(desk::DeskEdit edit, int key);
    // The reservation tabs and the period lists (U_Fgyoumu1_reservations.cpp).
    void ConnectReservations();
    bool DBGrid5KeyPress(QKeyEvent& event);

    // What the last Push showed; Pull copies only what differs from it.
    void RememberShown();
    struct Shown {
        std::array<std::string, desk::kLastDeskEdit + 1> texts;
        int loanKind = -2, quickRegistration = -2, lendingConfirmation = -2,
            returnConfirmation = -2, returnMode = -2, listMode = -2, listOrder = -2;
        engine::Date loanDate{-1}, dueDate{-1};
    };

    std::unique_ptr<Ui::TFgyoumu1> ui;
    desk::Desk desk_;
    bool opened_ = false;
    bool closed_ = false;
    bool pushing_ = false;
    int running_ = 0;  // desk operations under way (a message may nest one)
    Shown shown_;
};

}  // namespace kashidashi
