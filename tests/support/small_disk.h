// A folder made a small filesystem of its own (tmpfs) in a mount namespace
// of this test process (and the programs it starts), so that a full disk and
// a read-only medium are real. Needs the right to mount (root): a test skips
// itself where MountSmallDisk says no. Header only: every layer's tests use
// it, with or without the window support.
#pragma once

#include <sched.h>
#include <sys/mount.h>

#include <string>

namespace kx_test {

// Mounts a tmpfs of `size` ("96k") on the existing `folder`; false where the
// test may not mount.
inline bool MountSmallDisk(const std::string& folder, const char* size) {
    if (unshare(CLONE_NEWNS) != 0) return false;
    if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    std::string options = std::string("size=") + size;
    return mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

// The small disk of `folder` made read-only (a write-protected stick).
inline bool MakeSmallDiskReadOnly(const std::string& folder) {
    return mount("tmpfs", folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

inline void UnmountSmallDisk(const std::string& folder) {
    umount2(folder.c_str(), MNT_DETACH);
}

}  // namespace kx_test
