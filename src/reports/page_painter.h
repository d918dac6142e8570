// Paints pages of a prepared report with QPainter, the same on every device:
// the preview on screen, the printer and the PDF writer. Millimetres become
// device pixels by the device's resolution times `zoom` (1.0 is the
// sheet's real size); fonts keep their point sizes at that scale. Each text
// is clipped to its cell.
#pragma once

#include <QPainter>
#include <QPointF>

#include "reports/page_model.h"

namespace kashidashi::reports {

// Paints `page` with its top-left corner at `origin` (device pixels).
void PaintPage(QPainter& painter, const Page& page, double zoom = 1.0, QPointF origin = {});

}  // namespace kashidashi::reports
