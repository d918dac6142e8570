// Layout files: a layout as JSON, one file per layout, kept in the program's
// resources under ":/reports/<name>.json".
//
//   { "name": ..., "margins": [left, right, top, bottom],
//     "font": {"name": ..., "size": points}, "objects": [page objects],
//     "bands": [{"kind": "ReportTitle" | "PageHeader" | "ColumnHeader" |
//                "MasterData" | "ReportSummary" | "PageFooter",
//                "name", "height", "stretch", "dataSet", "objects": [...]}] }
//
// An object: {"kind": "text" | "rect" | "line" | "barcode", "name",
// "pos": [left, top, width, height], "text", "dataSet", "field", "font",
// "align": "left" | "center" | "right", "valign": "top" | "center",
// "anchor": "center" | "right", "frame": {"sides": "LTRB", "width",
// "side": one of L T R B with its own "sideWidth", "color": "#rrggbb"},
// "stretchToRow", "hideZeros", "autoWidth", "wordWrap", "visible",
// "color", "lineStyle": "solid" | "dashdot", "lineWidth"}.
#pragma once

#include <QByteArray>
#include <QString>

#include "reports/layout.h"

namespace kashidashi::reports {

// Throws std::runtime_error for text that is not a layout.
Layout ParseLayout(const QByteArray& json);
// The layout `name` of the program's resources; throws when it is missing.
Layout LoadLayout(const QString& name);

}  // namespace kashidashi::reports
