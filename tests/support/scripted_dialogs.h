// The operator, scripted: installs a Dialogs responder that records every
// message box and modal window and answers them from a script, in order.
//
//   ScriptedDialogs dialogs;
//   dialogs.Answer(Dialogs::Kind::Question, Dialogs::Yes)
//          .Drive("kashidashi::TPW", [](QDialog& w) { SetText(w, "Edit1", "1234"); Click(w,
//          "BitBtn1"); });
//
// A request that does not match the next step is recorded as unexpected and
// answered No / Cancel (a modal window is closed by its close box).
#pragma once

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "widgets/dialogs.h"

namespace kx_test {

using kashidashi::Dialogs;

class ScriptedDialogs {
  public:
    struct Record {
        Dialogs::Kind kind;
        Dialogs::Kind look;
        QString text;
        int buttons;
        QString dialogClass;  // Modal: the window's class name
        bool expected;
        int defaultButton = Dialogs::NoButton;  // the button Enter would press
    };

    ScriptedDialogs();
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // A message box of that kind, answered with the button.
    ScriptedDialogs& Answer(Dialogs::Kind kind, int button);
    // The same, with what happens while the message is shown (the owner
    // activated again, say) run before it is answered.
    ScriptedDialogs& Answer(Dialogs::Kind kind, int button, std::function<void()> meanwhile);
    // A modal window of that class, driven by the function.
    ScriptedDialogs& Drive(const char* dialogClass, std::function<void(QDialog&)> drive);

    const std::vector<Record>& Records() const { return records_; }
    // Requests that came when another step was due, or when none was left.
    int Unexpected() const;
    // Script steps never reached.
    int Left() const { return static_cast<int>(steps_.size()); }
    // The texts of the message boxes, in order.
    std::vector<QString> Texts() const;
    // The class names of the modal windows, in order.
    std::vector<QString> Windows() const;
    // Everything recorded, one line each, for failure messages.
    std::string Describe() const;

  private:
    struct Step {
        Dialogs::Kind kind;
        int answer;
        QString dialogClass;
        std::function<void(QDialog&)> drive;
        std::function<void()> meanwhile;
    };
    int Respond(const Dialogs::Request& request);

    std::deque<Step> steps_;
    std::vector<Record> records_;
};

// Controls of a window by their object names; a missing one fails the test.
void SetText(QWidget& window, const char* edit, const QString& text);
QString TextOf(QWidget& window, const char* widget);
void Click(QWidget& window, const char* button);
// Presses Enter in the named widget, as a barcode reader or the operator does.
void PressEnter(QWidget& window, const char* widget);

}  // namespace kx_test
