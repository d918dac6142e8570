// The desktop's application for spreadsheets: found, and handed a file.
//
// The application is there when:
// - KASHIDASHI_OPENER names a program that exists (tests: the opener stands in
//   for the application and gets the file as its only argument); or else
// - xdg-open exists and `xdg-mime query default` names an application for
//   .xlsx files (application/vnd.openxmlformats-officedocument.spreadsheetml.sheet).
// Never throws.
#pragma once

#include <string>

namespace platform {

bool SpreadsheetApplicationFound() noexcept;

// Opens the file with the desktop's default application (ShellOpen), without
// waiting; true when it was started.
bool OpenInSpreadsheetApplication(const std::string& path) noexcept;

}  // namespace platform
