// Overdue loans as of a day D: a loan is overdue on D when it was lent on
// or before D (kashidashibi; a loan without one counts as lent), its due
// date (henkyakuyotei) lies before D, and it was not returned by D: still
// open (kashibo.kashidashiF "1") or returned after D (henkyakubi). It is D
// minus the due date days overdue. A past day thus shows the loans that
// were overdue then, also those returned since.
//
// Each loan is shown with its borrower as Name knows them now (class,
// pupil number, name); a borrower no longer in Name keeps the loan's own
// pupil number, with no class and no name. The list is ordered by class
// code (users without a class last), pupil number, due date and book
// number. Reads only: nothing is changed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::library {

struct OverdueLoan {
    std::optional<int64_t> classCode;  // Name.syozoku_ID; none when unknown
    std::string className;             // SYOZOKU of the code, else the code as text
    bool staff = false;
    std::string pupilNo;
    std::string nameId;
    std::string name;
    int64_t book = 0;
    std::string title;  // Book.syomei2
    engine::Date lentOn, due;
    int daysOverdue = 0;
};

// Which borrowers: everybody, one class (by code) or all staff.
struct OverdueFilter {
    enum class Kind { All, Class, Staff };
    Kind kind = Kind::All;
    int64_t classCode = 0;
    static OverdueFilter Everybody() { return {}; }
    static OverdueFilter OfClass(int64_t code) { return {Kind::Class, code}; }
    static OverdueFilter OfStaff() { return {Kind::Staff, 0}; }
};

// Throws EngineError when a table is missing or cannot be read.
std::vector<OverdueLoan> OverdueLoans(engine::storage::Connection& connection, engine::Date day,
                                      const OverdueFilter& filter = {});

// The column titles of the list, in order, and one loan's texts (dates
// yyyy/mm/dd, the book number in seven digits, days as a whole number).
std::vector<std::string> OverdueTitles();
std::vector<std::string> OverdueTexts(const OverdueLoan& loan);

}  // namespace kashidashi::library
