// Tkakunin: the confirmation dialog. It shows a finished lending or return in
// large text (Label1) on a coloured ground (yellow until a caller sets
// another) and is closed with one key.
//
// At every showing Edit1 is emptied and takes the keyboard focus (again
// whenever the dialog becomes active). The dialog closes on "y" or "Y" typed
// into Edit1, also in their full-width forms "ｙ" and "Ｙ" that arrive while
// the input method is on (already while still being composed), on Alt+Y or a
// click on BitBtn1 "はい(&Y)", and through the close box. Enter and Esc never
// close it.
#pragma once

#include <QColor>
#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class Tkakunin;
}

namespace kashidashi {

class Tkakunin : public QDialog {
    Q_OBJECT
  public:
    explicit Tkakunin(QWidget* parent = nullptr);
    ~Tkakunin() override;

    // Sets Label1's text and the dialog's colour, and shows it modally
    // (through Dialogs) until the operator closes it.
    void Show(const QString& text, const QColor& colour);

    QString Text() const;
    QColor Colour() const;

    // True when the text holds one of the closing characters y, Y, ｙ, Ｙ.
    static bool HasClosingKey(const QString& text);

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SetColour(const QColor& colour);
    void Edit1Changed(const QString& text);
    void Close();  // accepts while shown

    std::unique_ptr<Ui::Tkakunin> ui;
};

}  // namespace kashidashi
