// The two ways a backup takes its copy; both write a new SQLite database in
// the layout of a data folder's own database file.
//
// CopyDatabaseOnline copies a database file (a data folder's, or a backup
// file) with SQLite's online backup, a few pages at a time: between two
// steps the file is free, so a desk that commits waits at most one step
// (each kept well under the lock rule's whole wait). A commit between two
// steps makes SQLite start the copy again; each new start takes longer
// steps, so that a copy finishes also while desks go on lending, up to a
// quarter of a third of that wait: four desks queued behind one step each
// wait no more than a third. The steps' pages follow the speed of the last
// step. The copy is of one moment: every commit before
// the backup began, no transaction in part.
//
// CopyServerSnapshot reads the ten data tables (and the kx_ tables of the
// program's own) of a server database inside
// one repeatable-read transaction (one snapshot, no desk waits on it) and
// writes them, layout, keys and rows, into the data folder `target` in one
// transaction.
//
// `progress` is called now and then with the work done and the whole (pages
// or rows); it runs on the thread of the copy. Failures throw EngineError or
// std::runtime_error with a message for the operator.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/storage/open_local.h"
#include "engine/storage/open_remote.h"

namespace kashidashi::library {

using Progress = std::function<void(int64_t done, int64_t total)>;

void CopyDatabaseOnline(const std::string& source, const std::string& target,
                        const Progress& progress, engine::storage::LockRule rule = {15, 100});

void CopyServerSnapshot(const engine::storage::ServerAddress& server, const std::string& target,
                        const Progress& progress);

}  // namespace kashidashi::library
