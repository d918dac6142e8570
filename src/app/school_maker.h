// Making a school in an empty data folder from the settings window, by the
// same commands a librarian runs by hand: `kashidashi-admin init FOLDER`
// (the data tables, empty) or `kashidashi-admin demo FOLDER` (the demo
// school). The companion program lies beside the desk program (both are in
// /usr/bin when installed; in a build, src/tools beside src/app).
//
// The command refuses a folder that already holds data tables and writes
// everything in one transaction, so a failure leaves the folder as it was.
#pragma once

#include <QString>
#include <optional>

namespace kashidashi {

enum class NewSchool { Empty, Demo };

// Runs the command for the folder (a path of this computer); nullopt when the
// school was made, else what went wrong, in Japanese.
std::optional<QString> MakeSchool(NewSchool kind, const QString& folder);

// The companion program's file; a test points it at the built one. Empty
// restores the search beside the desk program.
QString AdminProgram();
void SetAdminProgram(const QString& path);

}  // namespace kashidashi
