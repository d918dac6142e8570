#include "desk/desk_prints.h"

#include "data/U_DM.h"
#include "engine/dataset/dataset.h"
#include "reports/report.h"

namespace kashidashi::desk {

using reports::Report;

void ShowControlBarcodes(QWidget* owner) {
    Report report(QStringLiteral("control_barcodes"));
    report.Show(owner);
}

void ShowReservationList(QWidget* owner, engine::TDataSet& yoyakuQry) {
    Report report(QStringLiteral("reservation_list"));
    report.AddDataSet("rptDBDataset1", yoyakuQry);
    report.AddRows(TDM::Instance().rptHead);
    report.Show(owner);
}

void ShowPeriodListReport(QWidget* owner, engine::TDataSet& kashidashiQry, const std::string& title,
                          const std::string& range) {
    Report report(QStringLiteral("period_list"));
    report.SetText("memo_title", title);
    report.SetText("memo_hani", range);
    report.AddDataSet("rptDBDataset2", kashidashiQry, true);
    report.AddRows(TDM::Instance().rptHead);
    report.Show(owner);
    kashidashiQry.Close();
}

void ShowBookReservations(QWidget* owner, engine::TDataSet& yoyakuFindQry) {
    Report report(QStringLiteral("book_reservations"));
    report.AddDataSet("rptDBDataset1", yoyakuFindQry);
    report.Show(owner);
    if (yoyakuFindQry.Active()) yoyakuFindQry.First();
}

void ShowReservationNotice(QWidget* owner, engine::TDataSet& yoyakuFindQry, bool withTitle) {
    Report report(QStringLiteral("reservation_notice"));
    report.SetVisible("memo_syomei", withTitle);
    report.AddDataSet("rptDBDataset1", yoyakuFindQry);
    report.AddRows(TDM::Instance().rptHead);
    report.Show(owner);
}

}  // namespace kashidashi::desk
