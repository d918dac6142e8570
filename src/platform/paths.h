// Windows paths on Linux.
//
// The desk speaks of Windows paths ("C:\Book\", "C:\$$\pkv\", "C:\jbox\ksno.mdb").
// Here:
// - A drive path "X:..." maps to the folder drive_x (lower-case letter, one folder per drive,
//   as Wine does) under the drive root `$HOME/.kashidashi`; the environment variable
//   KASHIDASHI_DRIVE_ROOT, when set and not empty, replaces that root (tests use it).
//   "C:\Book\" -> "$HOME/.kashidashi/drive_c/Book/".
// - A UNC path "\\server\share\..." maps to `<drive root>/unc/server/share/...` (as Wine's
//   dosdevices/unc); an administrator links the share's mount point there.
// - Absolute POSIX paths ("/srv/book/") and relative paths stand as they are.
// - Both "\" and "/" count as separators wherever the desk looks for a backslash;
//   mapping turns every separator into "/".
// - Paths are UTF-8, in which no byte of a multi-byte character is below 0x80, so every 0x5C
//   byte is a backslash of its own. A path that is not well-formed UTF-8 is taken as CP932
//   bytes (legacy data): there a 0x5C that is the second byte of a double-byte character
//   (as in "ソ", 0x83 0x5C) is no separator.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// "\" or "/".
bool IsPathSeparator(char c) noexcept;

// "X:" followed by anything, X an ASCII letter.
bool IsDrivePath(std::string_view path) noexcept;

// Starts with two backslashes ("\\server\share\...").
bool IsUncPath(std::string_view path) noexcept;

// Byte offsets of the separators that are characters of their own, in order (see above for
// CP932 input).
std::vector<std::size_t> SeparatorPositions(std::string_view path);

// Offset of the last separator that is a character of its own, or std::string_view::npos.
std::size_t LastSeparator(std::string_view path);

// The folder under which drive and UNC paths live: KASHIDASHI_DRIVE_ROOT, else
// $HOME/.kashidashi (the home folder of the user's password entry when HOME is unset);
// no trailing "/".
std::string DriveRootFolder();

// The local POSIX path of a program path (drive, UNC, POSIX or relative); "" stays "".
std::string MapToLocalPath(std::string_view path);

// True when the last separator of the path is its last character. ("C:\Book\" yes,
// "C:\Book" no, "C:\ソ" no even as CP932 bytes 43 3A 5C 83 5C.)
bool EndsWithSeparator(std::string_view path);

// The path with a separator appended unless it already ends with one: "\" for a drive or UNC
// path, or when the path's last separator is "\"; otherwise "/". An empty path stays empty.
std::string WithTrailingSeparator(std::string_view path);

// True when the path names an existing folder (after MapToLocalPath).
bool FolderExists(std::string_view path);

// True when the path names an existing file that is not a folder (after MapToLocalPath).
bool FileExists(std::string_view path);

// The process's current working folder as the system reports it: no trailing separator
// unless it is the root "/". Throws std::system_error when the system cannot tell it.
std::string CurrentFolder();

// The folder of the running program file (/proc/self/exe), without a trailing separator
// unless it is the root. Throws std::system_error when the system cannot tell it.
std::string ProgramFileFolder();

}  // namespace platform
