// The lists of the stock check beside its window, each in a grid with 印刷
// (the report preview) and エクセル出力:
//   ShowLostBooks    不明図書: the books marked 不明, with the date of the
//                    check that first missed them and how many checks did
//   ShowWriteOffs    廃棄の記録: the write-offs of 完了; 廃棄を取り消す undoes
//                    the current one (a book that turned up)
//   ShowYearSummary  年度の集計: holdings, checked, 不明 and written off by
//                    NDC class for a school year (SpinBox1)
// Every question and failure goes through Dialogs.
#pragma once

#include <QWidget>

#include "engine/storage/connection.h"

namespace kashidashi {

void ShowLostBooks(QWidget* parent, engine::storage::Connection& connection);
void ShowWriteOffs(QWidget* parent, engine::storage::Connection& connection);
void ShowYearSummary(QWidget* parent, engine::storage::Connection& connection);

}  // namespace kashidashi
