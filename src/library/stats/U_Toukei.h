// TToukei: 統計, the lending statistics of a school year or of a range of
// days, opened from 図書館の管理.
//
//   RadioButton1 年度 with SpinBox1 (the school year, April to March)
//   RadioButton2 期間 with DateEdit1 ～ DateEdit2 (both days included)
//   ComboBox1    the view: 月別, 学年別, クラス別, 分類別, よく借りられた本,
//                利用者の割合, 一人当たり and 多読者 (クラス別, 学年別)
//   Button1      集計: counts again (also at every change of the view)
//   DBGrid1      the view's table; ChartView1 its bar chart beside it
//   Label2       the period and the total
//   Button2      印刷: the table with the chart (as vectors) in the preview
//   Button3      エクセル出力: the table as an .xlsx file (asks where, then
//                opens it on the desktop); Button4 CSV保存: as a CSV file
//   BitBtn1      閉じる
//
// The counts are library/stats/stats.h; the print library/stats/stats_print.h.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "data/data_source.h"
#include "library/rows_dataset.h"
#include "library/stats/stats.h"

class QChartView;

namespace Ui {
class TToukei;
}

namespace kashidashi {

class TToukei : public QDialog {
    Q_OBJECT
  public:
    explicit TToukei(QWidget* parent = nullptr);
    ~TToukei() override;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    const library::StatsTable& Table() const { return table_; }
    QChartView& Chart() { return *chart_; }

  private:
    std::pair<engine::Date, engine::Date> Period() const;
    std::string PeriodText() const;
    void ShowTable();
    std::string Share() const;
    QString FileName(const char* suffix) const;
    void ShowChart();

    std::unique_ptr<Ui::TToukei> ui;
    QChartView* chart_ = nullptr;
    library::StatsTable table_;
    library::TRowsDataSet rows_;
    TDataSource source_{&rows_};
};

}  // namespace kashidashi
