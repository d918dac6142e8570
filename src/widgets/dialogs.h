// The one seam through which every message box, question and modal window of
// the program is shown.
//
// Without a responder the real Qt boxes appear (caption: the application
// title) and Exec runs the dialog's own modal loop. Tests install a responder:
// it is handed every request (kind, text, buttons, the dialog of a modal
// window) and answers it instead of the operator, so nothing waits for input.
// For a modal window the dialog is shown (not modally) before the responder
// runs; the responder drives its controls ("fill Edit1, press BitBtn1"); a
// dialog still open afterwards is closed as by its close box.
//
// Messages may carry "\r" or "\r\n" line breaks; they are shown as one line
// break each.
#pragma once

#include <QString>
#include <exception>
#include <functional>

class QDialog;
class QWidget;

namespace kashidashi {

class Dialogs {
  public:
    // The standard buttons; a set of them is an `int` of or-ed values.
    enum Button : int { NoButton = 0, Ok = 0x1, Yes = 0x2, No = 0x4, Cancel = 0x8 };
    // Message box looks, and Modal for a modal window.
    enum class Kind { Information, Warning, Error, Question, Modal };

    struct Request {
        Kind kind = Kind::Information;
        QString text;      // as given, line breaks unchanged
        int buttons = Ok;  // the buttons offered
        QWidget* parent = nullptr;
        QDialog* dialog = nullptr;      // Modal only
        Kind look = Kind::Information;  // the icon shown: kind, or a question's look
        int defaultButton = NoButton;   // the button Enter presses; none: Qt's choice
    };
    // Answers a request: the Button pressed for a box; ignored for Modal
    // (the dialog's own result counts).
    using Responder = std::function<int(const Request&)>;

    // Installs (or, with an empty function, removes) the responder.
    static void SetResponder(Responder responder);
    static bool HasResponder();

    // Boxes with one OK button.
    static void Information(QWidget* parent, const QString& text);
    static void Warning(QWidget* parent, const QString& text);
    static void Error(QWidget* parent, const QString& text);
    // A box with the given buttons and look (Question, Warning or
    // Information); returns the button pressed. Closing the box with Esc or
    // its close box answers Cancel when offered, else No. `defaultButton` is
    // the one Enter presses: いいえ where a careless Enter would lose data.
    static Button Question(QWidget* parent, const QString& text, int buttons,
                           Kind look = Kind::Question, Button defaultButton = NoButton);
    // Shows the dialog modally and returns its result.
    static int Exec(QDialog& dialog);
    // The standard error box for a failure nobody handled: what happened and
    // what to do in plain Japanese, then the engine's code (FailureText).
    static void ShowEngineError(QWidget* parent, const std::exception& error);

    // The caption of every box: the application title.
    static QString Caption();
    // "\r\n" and lone "\r" become "\n".
    static QString DisplayText(const QString& text);
};

}  // namespace kashidashi
