// What the return's files share (desk_return*.cpp): the loan a return closed
// and the return's own data sets.
#pragma once

#include <cstdint>
#include <string>

#include "desk/desk.h"

namespace kashidashi::desk {

// The item indexes of RadioGroup2.
constexpr int kModeReturn = 0;  // 返却: the loan record is closed
constexpr int kModeCancel = 1;  // 貸出取消: the open loan records are deleted

// What one committed return leaves for the steps after the commit.
struct Desk::ReturnedLoan {
    std::string fixedNumber;  // the borrower, as the loan record names them
    int64_t bookId = 0;       // the book, 0 when its row is missing
    std::string isbn12;       // its ISBN's first twelve characters, or empty
};

// Query1: the open loans of one book (PM), live so that the desk edits the
// first one. DelQry: deletes the open loans of one book (PM1).
void DeclareReturnQueries(engine::TDBQuery& query1, engine::TDBQuery& delQry);

}  // namespace kashidashi::desk
