// Prepared reports: pages of positioned primitives in millimetres from the
// top-left corner of the sheet. The preview, the printer, the PDF and the
// spreadsheet export all read this model, so each shows what the others get.
//
// A text holds its lines already broken and placed (the x of each line's
// left end and its baseline); it is clipped to `clip`, its cell. Lines have
// a width in millimetres; fills are solid rectangles (barcode bars).
#pragma once

#include <QByteArray>
#include <cstdint>
#include <string>
#include <vector>

#include "reports/layout.h"

namespace kashidashi::reports {

struct RectMm {
    double x = 0, y = 0, w = 0, h = 0;
    double Right() const { return x + w; }
    double Bottom() const { return y + h; }
    bool operator==(const RectMm&) const = default;
};

struct TextLine {
    double x = 0, baseline = 0;
    std::string text;
};

struct PageText {
    std::string object;  // the layout object's name
    RectMm clip;         // the cell
    FontStyle font;
    uint32_t color = 0xff000000;
    std::vector<TextLine> lines;
    std::string Text() const;  // the lines joined by "\n"
};

struct PageLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double width = 0.26;  // mm
    uint32_t color = 0xff000000;
    LineStyle style = LineStyle::Solid;
};

struct PageFill {
    RectMm rect;
    uint32_t color = 0xff000000;
};

struct Page {
    double width = 210, height = 297;
    std::vector<PageFill> fills;
    std::vector<PageText> texts;
    std::vector<PageLine> lines;
};

struct PreparedReport {
    std::string name;  // the layout's
    std::vector<Page> pages;
};

// A prepared report's own file (JSON); Read throws std::runtime_error for a
// file that is not one.
QByteArray WritePrepared(const PreparedReport& report);
PreparedReport ReadPrepared(const QByteArray& bytes);

}  // namespace kashidashi::reports
