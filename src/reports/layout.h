// The layout model: what a printed report looks like, as data. A layout is
// an A4 page with margins, bands printed in a fixed order, and objects
// (text cells, rectangles, lines, Code 39 barcodes: one with a width fills
// it, one without has the desk's size) placed in millimetres
// from the top-left corner of their band, or of the printable area for the
// objects placed directly on the page.
//
// Line and frame widths are in units of 1/96 inch (0.1 a hairline, 1.0 is
// 0.26 mm). A text cell shows literal text with embedded expressions
// (expression.h), or, when bound to one field (dataSet and field set), that
// field's display text. Objects without a font of their own take the page
// font. Names of objects are matched without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reports/barcode.h"

namespace kashidashi::reports {

constexpr double kMmPerInch = 25.4;
// A width in 1/96 inch as millimetres.
inline double UnitsToMm(double units) {
    return units * kMmPerInch / 96.0;
}

struct FontStyle {
    std::string name;  // as the layout names it ("メイリオ", "ＭＳ 明朝")
    double size = 10;  // points
    bool operator==(const FontStyle&) const = default;
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center };
// Where an object stands across its band: at its left position, centred in
// the band, or with its right edge on the band's right edge.
enum class Anchor { None, Center, Right };
enum class LineStyle { Solid, DashDot };

enum Side : int { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8, kAllSides = 15 };

struct Frame {
    int sides = 0;       // Side bits drawn
    double width = 1.0;  // 1/96 inch
    int ownSide = 0;     // one side with a width of its own (0: none)
    double ownWidth = 0;
    uint32_t color = 0xff000000;  // ARGB
    double WidthOf(Side side) const { return side == ownSide ? ownWidth : width; }
};

enum class ObjectKind { Text, Rectangle, Line, Barcode };

struct ReportObject {
    ObjectKind kind = ObjectKind::Text;
    std::string name;
    double left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    // Text: literal text with expressions; Barcode: the encoded text.
    std::string text;
    std::string dataSet, field;  // a cell bound to one field
    FontStyle font;
    bool ownFont = false;  // false: the page font
    uint32_t color = 0xff000000;
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Top;
    Anchor anchor = Anchor::None;
    Frame frame;  // text cells and rectangles
    bool stretchToRow = false;
    bool hideZeros = false;
    bool autoWidth = false;
    bool wordWrap = true;
    LineStyle lineStyle = LineStyle::Solid;  // lines
    double lineWidth = 1.0;                  // lines, 1/96 inch
    BarcodeForm barcode;                     // barcodes
};

// In the order they print.
enum class BandKind {
    ReportTitle,
    PageHeader,
    ColumnHeader,
    MasterData,
    ReportSummary,
    PageFooter
};

struct Band {
    BandKind kind = BandKind::MasterData;
    std::string name;  // "MasterData1"
    double height = 0;
    bool stretch = false;  // takes the height of its lowest object
    std::string dataSet;   // master data: the data set of its rows
    std::vector<ReportObject> objects;
};

struct Layout {
    std::string name;
    double pageWidth = 210, pageHeight = 297;
    double marginLeft = 10, marginRight = 10, marginTop = 10, marginBottom = 10;
    FontStyle pageFont{"ＭＳ ゴシック", 10};
    std::vector<Band> bands;  // at most one of each kind
    std::vector<ReportObject> pageObjects;

    double BandWidth() const { return pageWidth - marginLeft - marginRight; }
    const Band* BandOf(BandKind kind) const;
    // Case-blind; nullptr when no object has the name.
    ReportObject* FindObject(std::string_view name);
};

}  // namespace kashidashi::reports
