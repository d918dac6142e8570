// TPW: the PIN prompt. Edit1 starts with the default PIN, takes at most four
// characters and shows them as "*"; BitBtn1 (the default button, also Enter)
// closes the window, as does the close box. Entry() is Edit1's text however
// the window was closed.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class TPW;
}

namespace kashidashi {

class TPW : public QDialog {
    Q_OBJECT
  public:
    explicit TPW(QWidget* parent = nullptr);
    ~TPW() override;

    std::string Entry() const;

  private:
    std::unique_ptr<Ui::TPW> ui;
};

}  // namespace kashidashi
