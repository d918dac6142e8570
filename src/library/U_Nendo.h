// TNendo: 年度更新, the new school year from the new year's class list,
// opened from 図書館の管理.
//
//   Edit1      the class list (the CSV file of kashidashi-admin import-users);
//              Button1 参照 picks it
//   Button2    読み込み: reads the list and shows what would change, nothing
//              changed yet; bad lines are shown instead (種別 誤り)
//   DBGrid1    the plan: 変更, 新規, 削除, 残す (users with books still out),
//              予約削除 (reservations of removed users)
//   Label2     the counts
//   Button3    残す利用者の印刷: the books still out of the users who leave
//   Button4    実行: after a question naming the backup file, the backup in
//              the desk's backup folder, then everything in one transaction
//   Button5    エクセル出力: the plan to the spreadsheet (and its CSV file)
//   BitBtn1    閉じる
//
// The rules are library/rollover.h. 実行 is enabled only by a plan without
// problems; the plan is made again under the hold when it runs.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <string>

#include "data/data_source.h"
#include "library/rollover.h"
#include "library/rows_dataset.h"

namespace Ui {
class TNendo;
}

namespace kashidashi {

class TNendo : public QDialog {
    Q_OBJECT
  public:
    explicit TNendo(QWidget* parent = nullptr);
    ~TNendo() override;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

  private:
    void ShowPlan();
    void ShowProblems();
    bool ReadFile();
    std::optional<std::string> BackupFile();
    bool Apply(const std::string& file);

    std::unique_ptr<Ui::TNendo> ui;
    std::string bytes_;
    library::RolloverPlan plan_;
    library::TRowsDataSet rows_;
    TDataSource source_{&rows_};
};

}  // namespace kashidashi
