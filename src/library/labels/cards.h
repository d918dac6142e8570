// User cards: one card per user with the school name, the class, the name
// and, as Code 39, the number the desk reads for a user: the pupil number
// (seito_No) when the data's UserNumberMode (Reg row 10, N1) is 4 or the
// row is missing, the fixed number (NAME_ID) when it is 5. Printed on a
// card sheet or a label sheet (reports/cell_sheet.h) from any cell on.
// Reads throw EngineError.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/storage/connection.h"
#include "reports/cell_sheet.h"
#include "reports/page_model.h"

namespace kashidashi::library {

struct CardUser {
    std::string nameId;   // NAME_ID
    std::string pupilNo;  // seito_No
    std::string name;
    std::string className;  // the SYOZOKU name (its code when the table lacks it)
};

// Reg row 10's N1; 4 when the row is missing.
int ReadUserNumberMode(engine::storage::Connection& connection);
// The number on the card: seito_No in mode 4, NAME_ID in mode 5.
std::string CardNumber(const CardUser& user, int userNumberMode);

// The users of a class (every user when nothing), in pupil-number order.
std::vector<CardUser> UsersOfClass(engine::storage::Connection& connection,
                                   std::optional<int64_t> classCode);
// The users a list names by the number the desk reads (mode 4: pupil
// numbers, 5: fixed numbers), in the list's order; the numbers that name
// nobody go to `unknown`.
std::vector<CardUser> UsersOfList(engine::storage::Connection& connection,
                                  const std::vector<std::string>& numbers, int userNumberMode,
                                  std::vector<std::string>& unknown);

reports::PreparedReport CardsReport(const std::vector<CardUser>& users, int userNumberMode,
                                    const reports::CellSheet& sheet, int start,
                                    const std::string& school,
                                    reports::Symbology symbology = reports::Symbology::Code39);

}  // namespace kashidashi::library
