// What an import of users or books must not do to the data as it stands,
// checked after the rows themselves are read (tools' import rules) and
// before anything is written:
//   users: two users with one pupil number once the file is in (the desk
//          finds a user by it): twice in the file, or held by a user the
//          file leaves as they are; a class code SYOZOKU lacks;
//   books: a storage place, NDC, fund or supplier code its list lacks
//          (0 or empty means none).
// Each problem names the line of the file.
#pragma once

#include <string>
#include <vector>

#include "engine/storage/connection.h"
#include "exchange/import_rules.h"

namespace kashidashi::library::holdings {

std::vector<exchange::Rejection> UserImportProblems(engine::storage::Connection& connection,
                                                    const std::vector<exchange::ImportRow>& rows);
std::vector<exchange::Rejection> BookImportProblems(engine::storage::Connection& connection,
                                                    const std::vector<exchange::ImportRow>& rows);

}  // namespace kashidashi::library::holdings
