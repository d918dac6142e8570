// The code lists and settings rows of the demo school (see demo_school.h).
#pragma once

#include <string>
#include <vector>

#include "tools/table_cells.h"

namespace kashidashi::admin {

// NDC: the ten classes 0 … 9 of the Nippon Decimal Classification.
std::vector<Cells> DemoNdc();
std::vector<Cells> DemoPlaces();    // HKN
std::vector<Cells> DemoFunds();     // ZAIGEN
std::vector<Cells> DemoSources();   // UKEIRE
std::vector<Cells> DemoSettings();  // Reg rows 2 and 10

// The codes the demo books use.
constexpr int kPlaceLibrary = 1;
constexpr int kPlaceClosedStack = 2;
constexpr int kPlaceClassroom = 3;
constexpr int kFundBudget = 1;
constexpr int kFundDonation = 3;
constexpr int kSourcePurchase = 1;
constexpr int kSourceDonation = 2;
constexpr int kNewBookDays = 7;

}  // namespace kashidashi::admin
