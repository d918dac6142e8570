// TNendo: 年度更新, the new school year from the new year's class list,
// opened from 図書館の管理.
//
//   Edit1      the class lists (CSV files of kashidashi-admin import-users,
//              one for the school or one per class, separated by ";");
//              Button1 参照 picks them
//   Button2    読み込み: reads the lists and shows what would change, nothing
//              changed yet; bad lines are shown instead (種別 誤り)
//   DBGrid1    the plan: 注意 (warnings), 所属追加, 変更 (old → new), 新規,
//              削除, 卒業・転出 (users with books still out), 予約取消
//   Label2     the counts in one line; Label3 the counts by class
//   StringGrid1 the classes to add, their names editable (shown with Label4
//              only when the lists use codes SYOZOKU lacks)
//   Button3    残す利用者の印刷: the books still out of the users who leave,
//              one class a page
//   Button4    実行: when a whole class, grade or the staff would leave, or
//              more than a tenth of the users, a question with those counts
//              first; then a question naming the backup file, the backup in
//              the desk's backup folder, the ending year's statistics beside
//              it, then everything in one transaction
//   Button5    エクセル出力: the plan to the spreadsheet (and its CSV file)
//   BitBtn1    閉じる
//
// The rules are library/year/rollover.h. 実行 is enabled only by a plan without
// problems; the plan is made again under the hold when it runs.
#pragma once

#include <QDialog>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "data/data_source.h"
#include "library/rows_dataset.h"
#include "library/year/rollover.h"

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
    bool ConfirmRemovals();
    void ShowNewClasses();
    std::map<int64_t, std::string> ClassNames() const;

    std::unique_ptr<Ui::TNendo> ui;
    std::vector<library::RolloverFile> files_;
    std::string statsFolder_;
    library::RolloverPlan plan_;
    library::TRowsDataSet rows_;
    TDataSource source_{&rows_};
};

}  // namespace kashidashi
