// The renderer: a layout and its data sets laid out into pages.
//
// Bands print in their order: the report title once at the top of the first
// page, the page header at the top of every page, the column header once
// before the first row, the master data band once per row of its data set
// (from its first row, in the data set's order), the report summary once
// after the last row and the page footer at the bottom of every page. A band
// that does not fit above the page footer starts a new page. A layout
// without a master data band makes one page. Objects placed on the page
// itself print on every page, from the printable area's corner.
//
// Every source is opened first (an open data set keeps its current row) and
// closed afterwards as it closes its data; a failure to open or read passes
// to the caller, and nothing is prepared.
#pragma once

#include <vector>

#include "reports/fonts.h"
#include "reports/layout.h"
#include "reports/page_model.h"
#include "reports/report_source.h"

namespace kashidashi::reports {

PreparedReport RenderReport(const Layout& layout, const std::vector<ReportSource*>& sources,
                            const TextMetrics& metrics = FontMetrics());

}  // namespace kashidashi::reports
