// The catalogue and the roll as CSV files that import-books and
// import-users read back: a header of the columns' own names, then one line
// per row with CR LF (written in code page 932, as the grid's CSV export),
// fields quoted when they hold a comma, a quote or a line break. Dates are
// yyyy/mm/dd, flags True or False, the ISBN its twelve stored digits. The
// counts a desk keeps (未返却数) and the loan flags are not written: an
// import never sets them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/storage/connection.h"

namespace kashidashi::library::holdings {

// The CSV text (UTF-8; the file is written in code page 932). All users in fixed-number order; the
// books of `numbers`, or every book when empty, in number order.
std::string UsersCsv(engine::storage::Connection& connection);
std::string BooksCsv(engine::storage::Connection& connection,
                     const std::vector<int64_t>& numbers = {});

// One CSV line (UTF-8) of the fields, without the line break.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace kashidashi::library::holdings
