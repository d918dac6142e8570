#include "reports/page_painter.h"

#include <QPen>

#include "reports/fonts.h"

namespace kashidashi::reports {
namespace {

QRectF Mm(const RectMm& r) {
    return {r.x, r.y, r.w, r.h};
}

void PaintLine(QPainter& painter, const PageLine& line) {
    QPen pen(QColor::fromRgba(line.color), line.width);
    pen.setCapStyle(Qt::FlatCap);
    if (line.style == LineStyle::DashDot) pen.setStyle(Qt::DashDotLine);
    painter.setPen(pen);
    painter.drawLine(QPointF(line.x1, line.y1), QPointF(line.x2, line.y2));
}

// Texts are drawn in hundredths of a millimetre: Qt rounds a font's size in
// the painter's units to a whole number, and in millimetres that would make
// a 10 pt text (3.53 mm) print at 4 mm, wider than it was measured.
constexpr double kTextUnitsPerMm = 100;

// A font of P points is P * 25.4 / 72 millimetres high, whatever the
// device's resolution.
void PaintText(QPainter& painter, const PageText& text) {
    painter.save();
    painter.setClipRect(Mm(text.clip), Qt::IntersectClip);
    painter.scale(1 / kTextUnitsPerMm, 1 / kTextUnitsPerMm);
    QFont font = ReportFont(text.font);
    font.setPointSizeF(text.font.size * kMmPerInch * kTextUnitsPerMm /
                       painter.device()->logicalDpiY());
    painter.setFont(font);
    painter.setPen(QColor::fromRgba(text.color));
    for (const TextLine& line : text.lines)
        painter.drawText(QPointF(line.x, line.baseline) * kTextUnitsPerMm,
                         QString::fromStdString(line.text));
    painter.restore();
}

}  // namespace

void PaintPage(QPainter& painter, const Page& page, double zoom, QPointF origin) {
    painter.save();
    double pixelsPerMm = painter.device()->logicalDpiX() / kMmPerInch * zoom;
    painter.translate(origin);
    painter.scale(pixelsPerMm, pixelsPerMm);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(Qt::NoPen);
    for (const PageFill& fill : page.fills)
        painter.fillRect(Mm(fill.rect), QColor::fromRgba(fill.color));
    for (const PageText& text : page.texts) PaintText(painter, text);
    for (const PageLine& line : page.lines) PaintLine(painter, line);
    painter.restore();
}

}  // namespace kashidashi::reports
