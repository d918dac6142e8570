// What the reservation files share (desk_reservation*.cpp,
// desk_period_lists.cpp, desk_onloan_check.cpp): the declarations of their
// data sets and the messages of both reservation tabs.
#pragma once

#include <cstdint>
#include <string>

#include "engine/dataset/query.h"

namespace kashidashi::desk {

constexpr const char* kUnknownReservationIsbn = "この図書のISBNコードは、まだ登録されていません。";

// kashidashiQry: the persistent fields of a period list and its calculated
// integer "利用者番号" (display "00000"): in UserNumberMode 4 the pupil number
// the loan stored, in mode 5 the loan's own NAME_ID; empty when that is not
// a whole number or the mode is neither.
void DeclarePeriodList(engine::TDBQuery& kashidashiQry);
// Its statement: the loans of the books lent (or, for `returns`, returned)
// from :PM1 to :PM2, with their books and users, by pupil number.
std::string PeriodListStatement(bool returns);

// kakuninQry (live, with the lookup fields PBook and PName over the data
// module's BOOK and NAME) and kakuninQry2 ("Select * From Book" of PM1).
void DeclareOnLoanCheck(engine::TDBQuery& kakuninQry, engine::TDBQuery& kakuninQry2);

// A text of digits as a whole number of the engine's INTEGER; `fallback`
// when it is none (empty, or too big for 32 bits).
int64_t WholeNumberOr(const std::string& digits, int64_t fallback);

}  // namespace kashidashi::desk
