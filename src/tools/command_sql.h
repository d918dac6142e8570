// kashidashi-admin sql FOLDER [--param NAME=TYPE:VALUE]... TEXT
//
// Runs the statements of TEXT (the engine's dialect, ";" between them) in
// the database of FOLDER, which must exist; its database file is created
// when missing. The text is parsed as a whole first and runs in one
// transaction: a failing statement leaves the database as it was.
//
// A statement that returns rows prints a line of its column names and one
// line per row, fields separated by tabs (result_text.h); other statements
// print nothing. An engine error prints "<code> <message>" on `err` and
// gives 1 (a data set error "0 <message>"); wrong use prints the usage on
// `err` and gives 2; success gives 0.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kashidashi::admin {

inline constexpr const char* kSqlUsage = "sql FOLDER [--param NAME=TYPE:VALUE]... 'TEXT'";

int CommandSql(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kashidashi::admin
