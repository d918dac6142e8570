// What the statistics read, each in one statement: the loans of a period
// (only the columns a view needs), the users and the books.
#pragma once

#include <cstdint>
#include <map>
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

// Every user's class: NAME_ID -> syozoku_ID (none when NULL).
std::unordered_map<std::string, std::optional<int64_t>> UserClasses(engine::storage::Connection& c);

struct StatsBook {
    double ndc = 0;  // 0: none
    std::string isbn, title;
};
std::unordered_map<int64_t, StatsBook> StatsBooks(engine::storage::Connection& c);

}  // namespace kashidashi::library
