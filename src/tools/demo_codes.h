// The code lists and settings rows of the demo school (see demo_school.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exchange/table_cells.h"

namespace kashidashi::admin {

// NDC: the hundred divisions (000 … 990) of the Nippon Decimal
// Classification, as the catalogue and quick registration store a book's
// NDC_ID (913.6 -> 910).
std::vector<exchange::Cells> DemoNdc();

// How a demo title is classified, as quick registration writes it: NDC_ID
// the division, yobi1_ID the main class (0-9; 11 picture books, 12 foreign
// books), and the class mark that begins its call number (seikyu). One title
// in five of literature is a picture book (絵本, 910), one in
// twenty-three a foreign book (洋書, 930); one title in sixty-one has no
// classification (both 0).
struct DemoClass {
    double ndc = 0;
    int main = 0;
    std::string mark;  // "913", "絵本", "洋書", "000"
};
DemoClass ClassifyDemoTitle(int ndcClass, int64_t title);
std::vector<exchange::Cells> DemoPlaces();    // HKN
std::vector<exchange::Cells> DemoFunds();     // ZAIGEN
std::vector<exchange::Cells> DemoSources();   // UKEIRE
std::vector<exchange::Cells> DemoSettings();  // Reg rows 2 and 10

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
