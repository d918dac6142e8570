// A demo school of a chosen size (kashidashi-admin demo --books N ...): the
// same code lists and settings rows as the small demo school, with users,
// books, loans and reservations drawn from a seeded generator so that one
// seed always makes the same school (only the dates follow `today`).
//   users   pupils in classes of about 35 (grades 1 to 6, class codes
//           grade*1000+class), one staff member in thirty; NAME_ID "1nnnnn"
//           and pupil numbers "nnnnn" for pupils, "9nnnnn"/"9nnnn" for staff
//   books   titles of one to five copies (most one) sharing their ISBN,
//           NDC classes weighted as a school library's (stories most)
//   loans   over the last three school years, oldest first, each returned
//           within three weeks but those of the last weeks, some of which
//           are still out (some overdue); no book has two open loans and no
//           user more than five
//   reservations  queued on the most borrowed titles
// Book.kashidashiF, Book.yoyakuF and Name.mihenkyakuSU agree with the loans
// and reservations. Rows are written through the engine's connection in the
// caller's transaction; `progress` gets a line now and then.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/common/value.h"
#include "tools/data_folder.h"

namespace kashidashi::admin {

struct DemoSizes {
    int64_t books = 400;
    int64_t users = 65;
    int64_t loans = 0;
    int64_t reservations = 0;
    uint32_t seed = 20240408u;
};

struct DemoCounts {
    int64_t users = 0, books = 0, titles = 0, loans = 0, openLoans = 0, overdue = 0,
            reservations = 0;
};

// Fails with AdminError when a size is out of range (users 2 … 90,000,
// books 1 … 9,999,999). The data tables must exist and be empty.
DemoCounts WriteSizedDemo(DataFolder& folder, const DemoSizes& sizes, engine::Date today,
                          const std::function<void(const std::string&)>& progress);

}  // namespace kashidashi::admin
