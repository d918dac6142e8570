// Book labels: the barcode label of a book (Code 39 of its book number as
// the desk reads it, the school name, the title cut to fit) and the spine
// label (背ラベル: the call number in three rows), printed on a sheet of
// cells (reports/cell_sheet.h) from any cell of a used sheet on.
//
// The books are chosen by a range of numbers, by a registration period (new
// books) or by a list of numbers; discarded books (haikiF) are left out of
// ranges and periods but printed when a list names them. Reads throw
// EngineError.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"
#include "reports/cell_sheet.h"
#include "reports/page_model.h"

namespace kashidashi::library {

struct LabelBook {
    int64_t number = 0;
    std::string title;       // syomei2
    std::string callNumber;  // seikyu
    double ndc = 0;          // NDC_ID, the classification when seikyu is empty
};

// In book-number order.
std::vector<LabelBook> BooksInRange(engine::storage::Connection& connection, int64_t from,
                                    int64_t to);
std::vector<LabelBook> BooksRegistered(engine::storage::Connection& connection, engine::Date from,
                                       engine::Date to);
// In the list's order; the numbers the catalogue does not know go to `unknown`.
std::vector<LabelBook> BooksOfList(engine::storage::Connection& connection,
                                   const std::vector<int64_t>& numbers,
                                   std::vector<int64_t>& unknown);

// The numbers of a list's text, in order, each once. A line of a portable
// reader's file (exchange/scan_file.h: a time stamp, a tab, the scan) is one
// scan, whose digits are one number as the desk reads it; any other line
// gives every run of its digits ("1001, 1002 1003").
std::vector<int64_t> NumbersOfList(const std::string& text);

// The call number's three rows: classification, author mark, volume. The
// call number's parts are parted by blanks (half or full width), "-" or "/";
// without a call number the classification is the NDC code; without either
// the middle row says kNoCallNumber (a blank label would go unnoticed).
inline constexpr const char* kNoCallNumber = "請求記号なし";
std::array<std::string, 3> SpineRows(const LabelBook& book);
// The books whose spine label can only say kNoCallNumber.
std::vector<int64_t> WithoutCallNumber(const std::vector<LabelBook>& books);

enum class LabelKind { Barcode, Spine };

// The labels of `books` on `sheet` from cell `start` (0 the first) on, the
// barcode in `symbology` (spine labels carry the book number as text).
// Throws std::runtime_error for a sheet that cannot be printed.
reports::PreparedReport LabelsReport(const std::vector<LabelBook>& books, LabelKind kind,
                                     const reports::CellSheet& sheet, int start,
                                     const std::string& school,
                                     reports::Symbology symbology = reports::Symbology::Code39);

// Sets the symbology of the barcodes of a label or card layout.
void UseSymbology(reports::Layout& layout, reports::Symbology symbology);

}  // namespace kashidashi::library
