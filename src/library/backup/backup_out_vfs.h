// The file system under a backup being written: SQLite's own, except that
// the pages of the new file, written one after another, are gathered and
// written some thirty at a time instead of one each. Nothing but the backup
// opens that file while it is written, so nothing can read it between; a
// read, a size asked, a sync, an unlock or the close writes what was
// gathered first. A write the disk cannot take (no space, a spent quota, a
// file too large for the medium) fails as SQLITE_FULL.
#pragma once

#include <sqlite3.h>

namespace kashidashi::library {

// The name to give sqlite3_open_v2 for such a file; registered on first use.
const char* BackupOutFileSystem();

// Writes what is still gathered for the main database of `db` (opened on
// that file system) and returns SQLite's code of it: SQLite closes a file
// without looking at the close's outcome, so the last pages are written,
// and their failure seen, before the close.
int FlushBackupOut(sqlite3* db);

}  // namespace kashidashi::library
