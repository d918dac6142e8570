// The school's switches of the pupils' web pages, in a table of the
// program's own (kx_web_switch: one row per switch, made when a switch is
// first set). Every switch is off until a librarian turns it on:
//   pupil_page      pupils and staff may log in and see their own page
//   reading_record  their own page lists the books they have read
//   other_schools   a book's page names the other schools of the server
//                   that hold the same ISBN (and this school is named on
//                   theirs): "他の学校にもあります"
// and one number:
//   reservation_limit  the reservations a user may hold through the web
//                      at once (3 unless the school sets another, 1 to 20)
#pragma once

#include <string>

#include "engine/storage/connection.h"

namespace kashidashi::accounts {

inline constexpr const char* kSwitchTable = "kx_web_switch";
inline constexpr int kDefaultReservationLimit = 3;
inline constexpr int kMostReservationLimit = 20;

struct WebSwitches {
    bool pupilPage = false;
    bool readingRecord = false;
    bool otherSchools = false;
    int reservationLimit = kDefaultReservationLimit;
};

// The switches as stored; all off (and the default limit) without the table.
WebSwitches ReadWebSwitches(engine::storage::Connection& connection);

// Stores every switch, in one transaction. Throws std::invalid_argument for
// a limit outside 1 to 20, EngineError when it cannot write.
void WriteWebSwitches(engine::storage::Connection& connection, const WebSwitches& switches);

// The switches in a line of plain Japanese ("利用者のページ: 使う、読書記録: 使わない、…").
std::string SwitchesText(const WebSwitches& switches);

}  // namespace kashidashi::accounts
