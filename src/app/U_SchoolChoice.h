// TSchoolChoice: asked when the data folder chosen in 初期設定 holds no
// school. Three buttons: "空の学校を作る" (EmptyButton), "デモの学校を作る"
// (DemoButton), "フォルダを選び直す" (AgainButton, also Esc and the close
// box). Nothing is made here: the caller acts on Choice().
#pragma once

#include <QDialog>

namespace kashidashi {

class TSchoolChoice : public QDialog {
    Q_OBJECT
  public:
    enum class Choice { Empty, Demo, Again };

    TSchoolChoice(const QString& folder, QWidget* parent = nullptr);
    Choice Chosen() const { return choice_; }

  private:
    Choice choice_ = Choice::Again;
};

}  // namespace kashidashi
