// Restore: a backup file's ten data tables (and the program's own tables it
// holds) put in place of a data folder's or a server database's, all or
// nothing.
//
// Refused, with nothing changed, while a desk window is open on DEST (the
// machines named, desk_presence.h), while any desk uses one of DEST's data
// tables (their exclusive use cannot be taken), when the backup file is
// damaged (its checksum, the storage's check), lacks a data table or a
// column of one, or was made by a newer layout, and when it is another
// school's backup and `otherSchool` does not say yes (asked with both
// schools' names). Otherwise, with DEST's tables held so that no desk starts
// on them meanwhile, what DEST holds now is first backed up to `before`
// (when DEST has any data table), then in one transaction every data table
// of DEST is dropped and made again from the backup, each one's rows
// counted against the backup's before the commit.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "library/backup/backup.h"
#include "library/backup/school_identity.h"
#include "library/data_place.h"

namespace kashidashi::library {

struct RestoreSummary {
    std::string before;             // the backup of DEST taken first; "" when it held nothing
    std::vector<TableRows> tables;  // the rows restored
};

// Asked before another school's backup is restored: the backup's school and
// DEST's; true to go on.
using OtherSchoolQuestion =
    std::function<bool(const SchoolIdentity& backup, const SchoolIdentity& dest)>;

RestoreSummary Restore(const std::string& file, const DataPlace& dest, const std::string& before,
                       const Progress& progress = {}, const OtherSchoolQuestion& otherSchool = {});

// Problems of a backup file that make it unfit to restore: its checksum,
// the storage's own check, data tables or columns missing, a newer layout.
// Empty when it is sound.
std::vector<std::string> BackupFileProblems(const std::string& file);

struct SchoolPair {
    SchoolIdentity backup, dest;
};
// The two schools when `file` is another school's backup than DEST's data;
// nothing when it is DEST's own, or either has no identity yet.
std::optional<SchoolPair> OtherSchoolOf(const std::string& file, const DataPlace& dest);

// A school as messages name it: 「name」 or, without a name, its id.
std::string SchoolText(const SchoolIdentity& school);

}  // namespace kashidashi::library
