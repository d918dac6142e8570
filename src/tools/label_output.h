// What the label and card commands share: the sheet a command names, its
// start cell, the list file, and the PDF written without a display.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/storage/connection.h"
#include "reports/cell_sheet.h"
#include "reports/page_model.h"
#include "tools/data_folder.h"

namespace kashidashi::admin {

// A value of an option that cannot be meant (a range backwards, a start cell
// beyond the sheet): the command ends as wrong use (exit 2), its reason said.
class WrongUse : public AdminError {
  public:
    using AdminError::AdminError;
};

// A standard sheet by name, or "custom" (the one saved with the data).
// Throws AdminError naming the sheets there are.
reports::CellSheet RequireSheet(engine::storage::Connection& connection, const std::string& name);
// "--start N": the N-th cell (1 the first) as an index into the sheet;
// throws WrongUse outside the sheet.
int StartCell(const std::string& text, const reports::CellSheet& sheet);
// A list file's text, decoded as the other files a command reads (UTF-8 or
// Shift-JIS); throws AdminError when it cannot be read.
std::string ReadListFile(const std::string& path);
// "--barcode code39|nw7", Code 39 when not given; throws WrongUse for another.
reports::Symbology RequireSymbology(const std::optional<std::string>& name);
// Runs `work`; a WrongUse it throws is told with the usage line and gives
// exit 2 (what else it throws goes on to RunCommand).
int UnlessWrongUse(const std::string& usage, std::ostream& err, const std::function<int()>& work);
// Writes the pages (a Qt application is made when none runs, on the
// offscreen platform unless another is set); throws AdminError on failure.
void WriteLabelsPdf(const reports::PreparedReport& report, const std::string& path);

}  // namespace kashidashi::admin
