// The columns of the lists of 蔵書・利用者の管理 (its grids, their CSV and
// spreadsheet exports) and their rows, window-free.
#pragma once

#include <vector>

#include "engine/common/value.h"
#include "library/holdings/book_search.h"
#include "library/holdings/books.h"
#include "library/holdings/code_lists.h"
#include "library/holdings/roll.h"
#include "library/rows_dataset.h"

namespace kashidashi::library::holdings {

std::vector<RowsColumn> BookHitColumns();
std::vector<engine::Value> BookHitRow(const BookHit& hit);
std::vector<RowsColumn> UserListColumns();
std::vector<engine::Value> UserListRow(const RollUser& user);
// A user's books: 区分 (貸出中, 予約, 返却済み), 図書番号, 書名, dates.
std::vector<RowsColumn> UserBookColumns();
std::vector<engine::Value> UserLoanRow(const UserLoan& loan);
std::vector<engine::Value> UserReservationRow(const UserReservation& reservation);
// Who borrowed a book: 固定番号, 生徒番号, 名前, 貸出日, 返却予定日, 返却日.
std::vector<RowsColumn> BookLoanColumns();
std::vector<engine::Value> BookLoanRow(const BookLoan& loan);
std::vector<RowsColumn> CodeColumns();
std::vector<engine::Value> CodeRow(const CodeEntry& entry);

}  // namespace kashidashi::library::holdings
