// What a user's own page shows, read for one user only (their fixed
// number): the books they have out with the due dates (overdue marked), the
// reservations with their place in the title's queue, and, when the school
// allows it, the books they have read (their returned loans, newest first).
// Nothing of any other user is read. Reads throw what the engine throws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::accounts {

struct OwnLoan {
    int64_t book = 0;
    std::string title;
    engine::Date lentOn{};
    engine::Date due{};
    bool overdue = false;  // due before today
};

struct OwnReservation {
    int64_t book = 0;
    int64_t number = 0;  // yoyaku_No
    std::string title;
    engine::DateTime reservedAt{};
    int place = 0;  // 1 = first in the title's queue
};

struct ReadBook {
    int64_t book = 0;
    std::string title;
    engine::Date lentOn{};
    engine::Date returnedOn{};
};

struct OwnPage {
    std::vector<OwnLoan> loans;                // by due date
    std::vector<OwnReservation> reservations;  // earliest first
    std::vector<ReadBook> record;              // newest first; empty unless asked
};

// The reading record holds at most the last `kRecordRows` books.
inline constexpr size_t kRecordRows = 200;

OwnPage ReadOwnPage(engine::storage::Connection& connection, const std::string& nameId,
                    engine::Date today, bool withRecord);

}  // namespace kashidashi::accounts
