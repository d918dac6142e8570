// The rows of the demo school, fixed by a constant seed so that every run
// makes the same school (only the registration dates follow `today`):
//   SYOZOKU  12 classes (1年1組 … 6年2組, codes 101 … 602) and 職員 (900)
//   Name     60 pupils, five in each class (pupil number grade, class and
//            number: "10101"; fixed number "100001" …) and 5 staff members
//            (pupil number "90001" …, fixed number "900001" …), none with a
//            book on loan
//   Book     400 copies of 360 titles, numbered from 1; 20 titles have two
//            copies and 10 have three, sharing the ISBN; a few are not to be
//            lent, a few discarded; 12 titles were registered in the last
//            three weeks
//   NDC, HKN, ZAIGEN, UKEIRE  the code lists the books use
//   Reg      row 2 (new-book days 7, ISBN lending allowed) and row 10
//            (users identified by their pupil number)
#pragma once

#include <string>
#include <vector>

#include "engine/common/value.h"
#include "exchange/table_cells.h"

namespace kashidashi::admin {

struct DemoTable {
    std::string name;
    std::vector<exchange::Cells> rows;
};

// The tables in the order they are written.
std::vector<DemoTable> DemoSchool(engine::Date today);

constexpr int kDemoPupils = 60;
constexpr int kDemoStaff = 5;
constexpr int kDemoTitles = 360;
constexpr int kDemoBooks = 400;

}  // namespace kashidashi::admin
