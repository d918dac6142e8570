// The file system under a backup being written: SQLite's own, except that
// the pages of the new file, written one after another, are gathered and
// written some thirty at a time instead of one each. Nothing but the backup
// opens that file while it is written, so nothing can read it between; a
// read, a size asked, a sync, an unlock or the close writes what was
// gathered first.
#pragma once

namespace kashidashi::library {

// The name to give sqlite3_open_v2 for such a file; registered on first use.
const char* BackupOutFileSystem();

}  // namespace kashidashi::library
