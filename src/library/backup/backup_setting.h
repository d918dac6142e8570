// The desk's backup folder: a per-desk setting, kept in the head row of the
// settings database in the program folder (column PathName2, which the desk
// itself does not use), so that each desk keeps its own. Empty: no
// automatic backups.
//
// Both reach the head table of the data module; the settings database must
// be prepared (start-up does it).
#pragma once

#include <string>

#include "library/data_place.h"

namespace kashidashi::library {

inline constexpr int kBackupFolderBytes = 100;  // the column's size, in CP932 bytes

std::string BackupFolderSetting();
// Throws std::runtime_error (in Japanese) for a folder the column cannot
// hold as it is: too long, or with characters that code page 932 lacks.
void SetBackupFolderSetting(const std::string& folder);

// The second place each automatic backup is copied to (another folder, a
// USB stick, a network share): column PathName3 of the same head row, 60
// bytes, which the desk does not use either. Empty: none.
inline constexpr int kSecondPlaceBytes = 60;
std::string SecondBackupPlaceSetting();
void SetSecondBackupPlaceSetting(const std::string& folder);

// The school's name as this desk's settings give it (Head.meisyou).
std::string DeskSchoolName();

// Where the data module's data database points now: the data folder, or the
// server of the client/server settings.
DataPlace DeskDataPlace();

}  // namespace kashidashi::library
