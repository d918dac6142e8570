// PageView: one page of a prepared report on screen at a zoom, with a found
// text marked. Used by the preview window.
#pragma once

#include <QWidget>

#include "reports/page_model.h"

namespace kashidashi::reports {

class PageView : public QWidget {
  public:
    explicit PageView(QWidget* parent = nullptr) : QWidget(parent) {}
    void SetPage(const Page* page, double zoom, const RectMm* mark);
    double Zoom() const { return zoom_; }
    // The grey margin around the page, in pixels.
    static constexpr int kBorder = 8;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    double PixelsPerMm() const;
    const Page* page_ = nullptr;
    double zoom_ = 1.0;
    bool marked_ = false;
    RectMm mark_;
};

}  // namespace kashidashi::reports
