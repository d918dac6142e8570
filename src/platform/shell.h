// Shell execution (ShellExecuteA with the default verb of the original).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Opens a target the way the Windows shell's default verb does, without waiting for it:
// - a web address (http:// or https://, any letter case) is handed to the desktop's opener;
// - an executable file (a drive, UNC, POSIX or relative path, see paths.h; a bare name that is
//   not in the current folder is looked up in PATH) is started with the arguments, split as a
//   Windows command line quotes them (SplitWindowsArguments);
// - any other existing file or folder (a document such as a spreadsheet) is handed to the
//   opener, like the shell opens a document with its application.
// The opener is `xdg-open`, or the program named by the environment variable KASHIDASHI_OPENER
// (tests); it gets the address or the local path as its only argument.
//
// The started process is detached: it runs in a session of its own (double fork, so it leaves
// no zombie and outlives this program), with standard input from /dev/null, a clean signal
// mask and default signal handling, the current folder and environment of this process, and
// no other descriptor of this process (descriptors 3 and above are closed before exec).
// Returns true when the program was started (its exec succeeded); false when the target does
// not exist, is not startable, or the start failed. Never throws.
bool ShellOpen(std::string_view target, std::string_view arguments = {}) noexcept;

// True for an address that starts with "http://" or "https://" (any letter case).
bool IsWebAddress(std::string_view target) noexcept;

// Splits the arguments part of a Windows command line into arguments, by the rules of the
// Microsoft C runtime: blanks and tabs separate arguments outside double quotes; a double
// quote starts or ends quoting; "" inside quotes is a literal double quote; 2n backslashes
// before a double quote become n backslashes (and the quote acts as above), 2n+1 become n and
// a literal double quote; other backslashes are literal. "\"a b\" \"\"" gives {"a b", ""}.
std::vector<std::string> SplitWindowsArguments(std::string_view commandLine);

}  // namespace platform
