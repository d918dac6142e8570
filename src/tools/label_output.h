// What the label and card commands share: the sheet a command names, its
// start cell, the list file, and the PDF written without a display.
#pragma once

#include <string>
#include <vector>

#include "engine/storage/connection.h"
#include "reports/cell_sheet.h"
#include "reports/page_model.h"

namespace kashidashi::admin {

// A standard sheet by name, or "custom" (the one saved with the data).
// Throws AdminError naming the sheets there are.
reports::CellSheet RequireSheet(engine::storage::Connection& connection, const std::string& name);
// "--start N": the N-th cell (1 the first) as an index into the sheet;
// throws AdminError outside the sheet.
int StartCell(const std::string& text, const reports::CellSheet& sheet);
// A list file's text; throws AdminError when it cannot be read.
std::string ReadListFile(const std::string& path);
// Writes the pages (a Qt application is made when none runs, on the
// offscreen platform unless another is set); throws AdminError on failure.
void WriteLabelsPdf(const reports::PreparedReport& report, const std::string& path);

}  // namespace kashidashi::admin
