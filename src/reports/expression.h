// The texts of text cells: literal text with expressions in square brackets.
//
//   [dataset."field"]   the field of the data set's current row, as plain
//                       text: no display format (an integer without leading
//                       zeros); an empty value is 0 for numbers and dates,
//                       "" for texts; dates yyyy/mm/dd, date-and-time values
//                       the date followed by the time
//   [Page#]             the page number
//   [COUNT(band)]       the rows the named master data band has printed
//
// Anything else in brackets prints as it stands. A cell bound to one field
// prints the field's display text instead (display format applied). A cell
// that hides zeros prints nothing for a zero number or an empty date.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "reports/report_source.h"

namespace kashidashi::reports {

struct Segment {
    enum Kind { Literal, Field, PageNumber, Count } kind = Literal;
    std::string text;     // Literal: the text; Field: the field; Count: the band
    std::string dataSet;  // Field
    bool operator==(const Segment&) const = default;
};

std::vector<Segment> ParseText(std::string_view text);

// What an expression reads while a band prints.
struct ExpressionContext {
    // The named source (case-blind); nullptr when the report has none.
    std::function<const ReportSource*(std::string_view)> source;
    int page = 1;
    std::function<int(std::string_view band)> count;
};

// Plain text of a field by the rules above.
std::string PlainText(const FieldReading& reading);
// A zero number, or an empty or zero date.
bool IsZero(const FieldReading& reading);

// The text a cell prints. Throws when a named data set or field is missing.
std::string Evaluate(const std::vector<Segment>& segments, const ExpressionContext& context,
                     bool hideZeros);
// A cell bound to one field: its display text, or "" for a hidden zero.
std::string BoundText(const FieldReading& reading, bool hideZeros);

}  // namespace kashidashi::reports
