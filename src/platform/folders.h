// Folder creation (CreateFolderPath): every folder along a path, left to right.
#pragma once

#include <string_view>

namespace platform {

// Goes through the path from left to right; at every separator that is a character of its own
// (see paths.h: "\" or "/", never the second byte of a CP932 double-byte character) it creates
// the folder named by the path up to and including that separator. A folder that already
// exists is no error, nor is any other failure (a later step, or the engine, reports a folder
// that is still missing). Returns true when at least one folder was created.
//
// Text after the last separator names no folder and is not created ("C:\a\b" creates "C:\a\").
// Drive roots always exist on Windows: the local folder of a drive ("<drive root>/drive_c") is
// created when missing, silently, and does not count as created. For a UNC path the server
// and share levels are never created; they must exist.
bool CreateFolderPath(std::string_view path);

}  // namespace platform
