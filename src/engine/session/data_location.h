// Where a command line (kashidashi-admin, kashidashi-opac) finds the data
// tables: a data folder, a database on a server, written
//
//   server://USER@HOST[:PORT]/DATABASE      (PORT 12005 when left out)
//
// or, where a command reads a SOURCE (copy, restore, check, backup), a backup
// file: any path that names an existing file rather than a folder (the
// program's own backups end in ".kxbak"). A backup file is only read.
//
// The password of a server never comes from the command line, where other
// users could read it: it is the environment variable KASHIDASHI_PASSWORD,
// or else it is asked for without echo when standard input is a terminal.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/session/database.h"
#include "engine/session/session.h"
#include "engine/storage/connection.h"
#include "engine/storage/open_remote.h"

namespace engine {

struct DataLocation {
    std::string text;  // as the command line gave it
    bool server = false;
    bool backupFile = false;         // the path names a file, not a folder
    std::string folder;              // a folder or a backup file: its local path
    storage::ServerAddress address;  // a server: without the password
};

inline constexpr int kDefaultServerPort = 12005;

// Nothing, with `problem` saying why, for a server address that is malformed.
std::optional<DataLocation> ParseLocation(const std::string& text, std::string& problem);
// Like ParseLocation, but throws std::runtime_error with the problem.
DataLocation RequireLocation(const std::string& text);

// The server's password (see above); throws std::runtime_error when there
// is none to be had.
std::string ServerPassword(const DataLocation& location);

// A backend connection to the location (the server's password asked for).
// A backup file is refused: what was written through it would be lost.
std::unique_ptr<storage::Connection> OpenLocation(const DataLocation& location);
// Points `database`, of the inactive `session`, at the location.
void PointAt(TDBSession& session, TDBDatabase& database, const DataLocation& location);

}  // namespace engine
