// One band laid out: its objects' texts evaluated for the current row, cells
// grown to their text where they stretch to the row, and the primitives
// placed relative to the band's top-left corner. Used by the renderer.
//
// Text placement inside a cell: 0.5 mm inside its left and right edges and
// 0.3 mm below its top (or centred when the cell says so); lines of 1.2 em.
// A text that does not fit its cell is clipped to it.
#pragma once

#include <vector>

#include "reports/expression.h"
#include "reports/fonts.h"
#include "reports/layout.h"
#include "reports/page_model.h"

namespace kashidashi::reports {

constexpr double kCellPadX = 0.5;
constexpr double kCellPadY = 0.3;

// An object with its text parsed once per report.
struct CompiledObject {
    const ReportObject* object = nullptr;
    std::vector<Segment> segments;
};
std::vector<CompiledObject> Compile(const std::vector<ReportObject>& objects);

struct BandInput {
    double bandWidth = 0;
    FontStyle pageFont;
    const ExpressionContext* context = nullptr;
    const TextMetrics* metrics = nullptr;
};

struct PlacedBand {
    double height = 0;
    Page content;  // relative to the band's top-left corner
};

// `stretch`: the band takes the height of its lowest object, else `height`.
PlacedBand LayOutBand(const std::vector<CompiledObject>& objects, double height, bool stretch,
                      const BandInput& input);
// Moves the band's primitives onto the page, shifted to (x, y).
void AppendBand(Page& page, PlacedBand&& band, double x, double y);

}  // namespace kashidashi::reports
