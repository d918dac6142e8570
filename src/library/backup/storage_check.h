// The storage's own check of a database file (SQLite's integrity_check): one
// text per problem it names, empty when the file is sound. A file that is no
// database at all, or cannot be read, is one problem.
#pragma once

#include <string>
#include <vector>

namespace kashidashi::library {

std::vector<std::string> DatabaseFileProblems(const std::string& file);

}  // namespace kashidashi::library
