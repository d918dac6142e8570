#include "reports/page_view.h"

#include <QPainter>

#include "reports/page_painter.h"

namespace kashidashi::reports {

double PageView::PixelsPerMm() const {
    return logicalDpiX() / kMmPerInch * zoom_;
}

void PageView::SetPage(const Page* page, double zoom, const RectMm* mark) {
    page_ = page;
    zoom_ = zoom;
    marked_ = mark != nullptr;
    if (mark) mark_ = *mark;
    QSize size(kBorder * 2, kBorder * 2);
    if (page)
        size += QSize(static_cast<int>(page->width * PixelsPerMm()),
                      static_cast<int>(page->height * PixelsPerMm()));
    setFixedSize(size);
    update();
}

void PageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    if (!page_) return;
    double ppm = PixelsPerMm();
    painter.fillRect(QRectF(kBorder, kBorder, page_->width * ppm, page_->height * ppm), Qt::white);
    PaintPage(painter, *page_, zoom_, QPointF(kBorder, kBorder));
    if (!marked_) return;
    QRectF mark(kBorder + mark_.x * ppm, kBorder + mark_.y * ppm, mark_.w * ppm, mark_.h * ppm);
    painter.fillRect(mark, QColor(255, 200, 0, 90));
}

}  // namespace kashidashi::reports
