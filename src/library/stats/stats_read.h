// What the statistics read, each in one statement: the loans of a period
// (only the columns a view needs), the users and the books.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::library {

// One column of every loan made from `from` to `to` (both included):
// kashidashibi as days, BOOK_ID, or NAME_ID.
std::vector<int32_t> LoanDays(engine::storage::Connection& c, engine::Date from, engine::Date to);
std::vector<int64_t> LoanBooks(engine::storage::Connection& c, engine::Date from, engine::Date to);
std::vector<std::string> LoanUsers(engine::storage::Connection& c, engine::Date from,
                                   engine::Date to);

struct StatsUser {
    std::optional<int64_t> code;  // syozoku_ID; none when NULL
    std::string pupilNo, name;
};
// Every user of Name by NAME_ID.
std::unordered_map<std::string, StatsUser> StatsUsers(engine::storage::Connection& c);

struct StatsBook {
    double ndc = 0;               // NDC_ID; 0: none
    std::optional<int64_t> main;  // yobi1_ID: the main class (11 絵本, 12 洋書)
    std::string isbn, title;
};
std::unordered_map<int64_t, StatsBook> StatsBooks(engine::storage::Connection& c);

}  // namespace kashidashi::library
