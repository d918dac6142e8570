// The prepared pages sent to their destinations, all painted by PaintPage:
// a PDF file (fonts embedded), the default printer, and a spreadsheet.
#pragma once

#include <QString>
#include <atomic>
#include <string>

#include "reports/page_model.h"

class QPrinter;

namespace kashidashi::reports {

// Writes every page to a PDF file; false when the file cannot be written.
bool WritePdf(const PreparedReport& report, const QString& path, const QString& title = {});
// Prints every page on `printer` (already set up); false when it fails.
bool PrintPages(const PreparedReport& report, QPrinter& printer);
// Whether the system has a printer to print on.
bool HasPrinter();

// The spreadsheet export: every page as laid out, one worksheet, page headers
// and footers and empty lines kept; each text of a page goes to the row of
// its top and the column of its left edge (columns shared by all pages).
// Texts are written as texts, never as formulas. An existing file is
// replaced. `pagesDone` counts the pages written, for a progress display.
// False when the file cannot be written.
bool WriteSpreadsheet(const PreparedReport& report, const std::string& path,
                      std::atomic<int>* pagesDone = nullptr);

}  // namespace kashidashi::reports
