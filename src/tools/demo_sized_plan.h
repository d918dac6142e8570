// The plan of a sized demo school (demo_sized.h): who and what exists and
// which loans and reservations were made, as small numbers, before any row
// is written. Drawn from std::mt19937's raw numbers only, whose sequence the
// C++ standard fixes: one seed, one plan.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "tools/demo_sized.h"

namespace kashidashi::admin {

struct PlanTitle {
    int ndc = 9;
    int text = 0;  // the title's number among the titles of its class
    int author = 0;
    int publisher = 0;
    int32_t registered = 0;  // day number
    int64_t firstBook = 0;   // index of its first copy
    int copies = 1;
};

struct PlanBook {
    int32_t title = 0;
    bool reference = false, discarded = false, lent = false, reserved = false;
};

struct PlanLoan {
    int32_t book = 0, user = 0, lentOn = 0, returnedOn = 0;  // returnedOn 0: still out
};

struct PlanReservation {
    int32_t book = 0, user = 0, number = 0, madeOn = 0;
};

struct DemoPlan {
    int64_t pupils = 0, staff = 0, groupsPerGrade = 1;
    std::vector<PlanTitle> titles;
    std::vector<PlanBook> books;
    std::vector<PlanLoan> loans;
    std::vector<PlanReservation> reservations;
    std::vector<uint8_t> userOpen;  // open loans per user
};

inline constexpr int kSchoolYears = 3;
inline constexpr int kLoanDays = 14;
inline constexpr int kMaxOpenLoans = 5;

DemoPlan PlanSchool(const DemoSizes& sizes, int32_t today, std::mt19937& random);

}  // namespace kashidashi::admin
