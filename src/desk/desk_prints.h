// The printed reports of the desk and of the reservation list window, each
// shown in the preview (reports/report.h). A data set that fails to open
// is shown once in the error box and nothing is previewed.
#pragma once

#include <string>

class QWidget;

namespace engine {
class TDataSet;
}

namespace kashidashi::desk {

// Button6 "制御バーコード印刷": the sheet of the four control barcodes.
void ShowControlBarcodes(QWidget* owner);
// Button11 "印刷" of the tab 予約状況: the reservation list over the rows of
// yoyakuQry, with the school name.
void ShowReservationList(QWidget* owner, engine::TDataSet& yoyakuQry);
// Button3 / Button4: the loan or return list of kashidashiQry (statement
// and period set) under `title` ("貸出図書一覧表 ") and `range` ("貸出期日 "
// + start + " ～ " + end); the query is closed afterwards.
void ShowPeriodListReport(QWidget* owner, engine::TDataSet& kashidashiQry, const std::string& title,
                          const std::string& range);
// "リスト印刷" of the reservation list window: the reservations of the book,
// then the query back on its first row.
void ShowBookReservations(QWidget* owner, engine::TDataSet& yoyakuFindQry);
// "予約表の印刷": the notice of the current row with the library's copy;
// the book's title on the user's half only `withTitle` ("書名の印刷" する).
void ShowReservationNotice(QWidget* owner, engine::TDataSet& yoyakuFindQry, bool withTitle);

}  // namespace kashidashi::desk
