// The rows the consistency check reads, as it reads them: books and users by
// their keys (with their stored rows, for a repair), open loans and
// reservations. Read by ReadCheckData through one backend connection,
// inside whatever transaction the caller began.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/storage/connection.h"

namespace kashidashi::library {

struct StoredRow {
    engine::storage::RowId id = 0;
    std::vector<engine::Value> values;
};

struct CheckedBook {
    StoredRow row;
    bool lent = false;      // kashidashiF; NULL reads as false
    bool reserved = false;  // yoyakuF; NULL reads as false
    std::string isbn12;     // the first twelve characters of ISBN, as the desk matches them
};

struct CheckedUser {
    StoredRow row;
    int64_t unreturned = 0;  // mihenkyakuSU; NULL reads as 0
};

struct OpenLoan {
    int64_t book = 0;
    std::string user;
    std::string lentOn;  // yyyy/mm/dd
};

struct Reservation {
    int64_t book = 0;
    int64_t number = 0;
    std::string user;
    std::string isbn;  // ISBN_ID: a reservation of a title, any copy
};

struct CheckData {
    engine::storage::TableSchema bookTable, nameTable;
    std::map<int64_t, CheckedBook> books;
    std::map<std::string, CheckedUser> users;
    std::vector<OpenLoan> openLoans;  // kashidashiF is "1"
    std::vector<Reservation> reservations;
};

// Throws EngineError or std::runtime_error when a table is missing or
// cannot be read.
CheckData ReadCheckData(engine::storage::Connection& connection);

// Column positions by name; throws std::runtime_error naming a missing one.
int ColumnOf(const engine::storage::TableSchema& table, const std::string& column);

}  // namespace kashidashi::library
