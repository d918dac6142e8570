// A private folder for the files of one piece of work (a backup file read as
// a data folder, a backup being written): made empty under the system's
// temporary folder, or beside a given path, and removed with everything in
// it when the TemporaryFolder is destroyed. No Qt.
#pragma once

#include <string>

namespace platform {

class TemporaryFolder {
  public:
    // A new folder "<temp>/<prefix>XXXXXX". Throws std::system_error when it
    // cannot be made.
    explicit TemporaryFolder(const std::string& prefix);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& Path() const { return path_; }
    // The path of `name` inside the folder.
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace platform
