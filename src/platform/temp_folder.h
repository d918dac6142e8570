// A private folder for the files of one piece of work (a backup file read as
// a data folder, a backup being written): made empty under the system's
// temporary folder, or beside a given path, and removed with everything in
// it when the ScratchFolder is destroyed. No Qt.
#pragma once

#include <string>

namespace platform {

class ScratchFolder {
  public:
    // A new folder "<temp>/<prefix>XXXXXX". Throws std::system_error when it
    // cannot be made.
    explicit ScratchFolder(const std::string& prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    // The path of `name` inside the folder.
    std::string File(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace platform
