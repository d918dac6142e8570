// The engine's side of the table and server cases: a session and a database
// over a folder or a server database, and the work both cases measure on it
// (key searches and the writes of one lending), so that the local and the
// server figures come from the same engine code.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "engine/storage/open_remote.h"

namespace bench {

class EngineSide {
  public:
    explicit EngineSide(const std::string& folder);                     // session "BENCH"
    explicit EngineSide(const engine::storage::ServerAddress& server);  // "BENCH_SERVER"
    // A table object of the database, not yet open.
    std::unique_ptr<engine::TDBTable> Table(const std::string& name);

    engine::TDBSession session;
    engine::TDBDatabase database;
};

// `count` book numbers from 1 to `max`, the same every run.
std::vector<int> RandomIds(int count, int max);
// Seconds for the key search of every id in Book (reading its title), or -1
// when none was found.
double EngineKeySearch(EngineSide& side, const std::vector<int>& ids);
// One lending of books round*3+1 ... round*3+3 to user 000001, in one transaction.
void EngineLend(EngineSide& side, int round);

}  // namespace bench
