// A backup file being written: its database is made in a staging folder
// beside the file ("FILE.part.PID") and becomes FILE only when it is
// complete, in three steps that survive a crash at any moment: the database
// is synced, renamed to FILE, and FILE's folder is synced. Until then no
// file carries FILE's name; a PendingFile destroyed without Finish removes
// its staging folder, and a staging folder left by a killed process is
// removed by the next PendingFile in the same folder, whatever its FILE.
#pragma once

#include <string>

namespace kashidashi::library {

class PendingFile {
  public:
    // Throws std::runtime_error (in Japanese) when FILE exists already, its
    // folder is missing, or the staging folder cannot be made.
    explicit PendingFile(const std::string& file);
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // The staging folder, to be written as a data folder.
    const std::string& Folder() const { return staging_; }
    // The database file inside it.
    std::string Database() const;
    // Syncs the database, renames it to FILE and syncs FILE's folder.
    void Finish();

  private:
    std::string file_;
    std::string staging_;
};

// Writes a file's data and metadata through to the disk; throws
// std::runtime_error naming the file when the system refuses.
void SyncFile(const std::string& path);
// The same for a folder's entries (a rename or a removal in it).
void SyncFolder(const std::string& folder);

}  // namespace kashidashi::library
