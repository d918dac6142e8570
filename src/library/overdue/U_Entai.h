// TEntai: 延滞・督促, the loans overdue on a day, opened from 図書館の管理.
//
//   DateEdit1  the day (today when the window opens)
//   ComboBox1  whose loans: すべて, one class, or 職員 (every staff member)
//   Button1    表示: lists the overdue loans again
//   DBGrid1    the overdue loans (所属, 生徒番号, 名前, 図書番号, 書名, 貸出日,
//              返却予定日, 延滞日数), ordered by class, pupil number, due date
//   Label2     the count
//   Button2    クラス別一覧: the list of each class on pages of its own
//   Button3    督促状: one slip per borrower, three on a page
//   Button4    エクセル出力: the list as an .xlsx file (asks where, then opens
//              it on the desktop)
//   Button5    CSV保存: the list as a CSV file (code page 932)
//   BitBtn1    閉じる
//
// The rules are library/overdue/overdue.h; the prints library/overdue/overdue_prints.h,
// shown in the report preview (print, PDF, spreadsheet). The list is read
// when the window opens and at every 表示 or change of day or class.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "data/data_source.h"
#include "library/overdue/overdue.h"
#include "library/rows_dataset.h"

namespace Ui {
class TEntai;
}

namespace kashidashi {

class TEntai : public QDialog {
    Q_OBJECT
  public:
    explicit TEntai(QWidget* parent = nullptr);
    ~TEntai() override;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    const std::vector<library::OverdueLoan>& Loans() const { return loans_; }

  private:
    void FillClasses();
    library::OverdueFilter Filter() const;
    void ShowReport(bool slips);
    QString FileName(const char* suffix) const;

    std::unique_ptr<Ui::TEntai> ui;
    std::vector<library::OverdueLoan> loans_;
    library::TRowsDataSet rows_;
    TDataSource source_{&rows_};
};

}  // namespace kashidashi
