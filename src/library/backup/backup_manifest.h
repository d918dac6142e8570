// What a backup file says of itself, in a table of its own inside it
// (kx_backup, one row per item): the layout version of the data tables, the
// school's identity, when and how it was made, and a checksum of the whole
// file. The checksum is SHA-256 over every byte of the file with its own
// 64 hex digits read as zeros; a file whose checksum does not match, or that
// has none, is damaged: one byte changed anywhere is found.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kashidashi::library {

inline constexpr const char* kManifestTable = "kx_backup";
// The layout of the ten data tables this program writes and reads.
inline constexpr int kDataLayoutVersion = 1;

struct BackupManifest {
    int layout = kDataLayoutVersion;
    std::string schoolId;
    std::string schoolName;
    std::string madeAt;      // yyyy/mm/dd hh:nn:ss
    bool automatic = false;  // made by the desk's day's backup
    std::string checksum;    // "sha256:" and 64 hex digits
};

// Writes `manifest` into the complete SQLite database `database` (closed,
// nobody else has it open) and seals it with the checksum of its bytes.
// Throws std::runtime_error.
void SealBackup(const std::string& database, const BackupManifest& manifest);

// The manifest of a backup file; nothing when it has none or cannot be read.
std::optional<BackupManifest> ReadManifest(const std::string& file);

// What is wrong with a backup file's seal: empty when its checksum matches.
std::vector<std::string> SealProblems(const std::string& file);

}  // namespace kashidashi::library
