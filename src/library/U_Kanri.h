// TKanri: 図書館の管理, the librarian's work beyond the desk, opened from
// the main window. One button per task; each opens its window modally
// (through Dialogs) and comes back here.
//
//   Button1 バックアップ   backups, restore and the check of the data (TBackup)
//   Button2 延滞・督促     the loans overdue on a day and their prints (TEntai)
//   Button3 統計           the lending statistics with their charts (TToukei)
//   Button4 年度更新       the new school year from the new class list (TNendo)
//   Button5 蔵書点検       the stock check: scans, progress, books not found (TTenken)
//   Button6 ラベル・カード印刷 book labels, spine labels and user cards (TLabel)
//   Button7 蔵書・利用者の管理 the catalogue, the roll and the school's lists (TZousho)
//   BitBtn1 閉じる
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TKanri;
}

namespace kashidashi {

class TKanri : public QDialog {
    Q_OBJECT
  public:
    explicit TKanri(QWidget* parent = nullptr);
    ~TKanri() override;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();

  private:
    std::unique_ptr<Ui::TKanri> ui;
};

}  // namespace kashidashi
