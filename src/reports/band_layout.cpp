#include "reports/band_layout.h"

#include <QStringList>
#include <algorithm>

#include "reports/barcode.h"
#include "reports/code39.h"

namespace kashidashi::reports {
namespace {

struct Cell {
    const ReportObject* object;
    RectMm rect;
    FontStyle font;
    std::vector<QString> lines;
    double needed = 0;  // the height its lines need
};

QString CellText(const CompiledObject& compiled, const BandInput& input) {
    const ReportObject& o = *compiled.object;
    if (!o.field.empty()) {
        const ReportSource* source = input.context->source(o.dataSet);
        if (!source) throw std::runtime_error("no data set " + o.dataSet);
        return QString::fromStdString(BoundText(source->Field(o.field), o.hideZeros));
    }
    return QString::fromStdString(Evaluate(compiled.segments, *input.context, o.hideZeros));
}

// Automatic width and the place across the band.
RectMm PlaceAcross(const ReportObject& o, double textWidth, const BandInput& input) {
    RectMm rect{o.left, o.top, o.width, o.height};
    if (o.autoWidth) {
        rect.w = textWidth + 2 * kCellPadX;
        if (o.align == HAlign::Right) rect.x = o.left + o.width - rect.w;
    }
    if (o.anchor == Anchor::Center) rect.x = (input.bandWidth - rect.w) / 2;
    if (o.anchor == Anchor::Right) rect.x = input.bandWidth - rect.w;
    return rect;
}

Cell TextCell(const CompiledObject& compiled, const BandInput& input) {
    const ReportObject& o = *compiled.object;
    Cell cell{&o, {}, o.ownFont ? o.font : input.pageFont, {}, 0};
    QString text = CellText(compiled, input);
    double textWidth = o.autoWidth ? input.metrics->WidthMm(text, cell.font) : 0;
    cell.rect = PlaceAcross(o, textWidth, input);
    if (o.wordWrap && !o.autoWidth)
        cell.lines = BreakLines(text, cell.font, cell.rect.w - 2 * kCellPadX, *input.metrics);
    else if (!text.contains(u'\n'))
        cell.lines.push_back(text);
    else
        for (const QString& line : text.split(u'\n')) cell.lines.push_back(line);
    cell.needed = cell.lines.size() * LineHeightMm(cell.font) + 2 * kCellPadY;
    return cell;
}

// Every cell that stretches to the row reaches down as far as the tallest.
void StretchRow(std::vector<Cell>& cells) {
    double bottom = 0;
    for (const Cell& c : cells)
        if (c.object->stretchToRow)
            bottom = std::max(bottom, c.rect.y + std::max(c.rect.h, c.needed));
    for (Cell& c : cells)
        if (c.object->stretchToRow) c.rect.h = bottom - c.rect.y;
}

double LineX(const Cell& cell, double width) {
    switch (cell.object->align) {
        case HAlign::Center:
            return cell.rect.x + (cell.rect.w - width) / 2;
        case HAlign::Right:
            return cell.rect.Right() - kCellPadX - width;
        case HAlign::Left:
            break;
    }
    return cell.rect.x + kCellPadX;
}

PageText TextOf(const Cell& cell, const TextMetrics& metrics) {
    PageText text{cell.object->name, cell.rect, cell.font, cell.object->color, {}};
    double lineHeight = LineHeightMm(cell.font);
    double top = cell.rect.y + kCellPadY;
    if (cell.object->valign == VAlign::Center)
        top = cell.rect.y + (cell.rect.h - cell.lines.size() * lineHeight) / 2;
    for (size_t i = 0; i < cell.lines.size(); ++i) {
        double width = metrics.WidthMm(cell.lines[i], cell.font);
        double baseline = top + i * lineHeight + EmMm(cell.font) * kBaselineInLine;
        text.lines.push_back({LineX(cell, width), baseline, cell.lines[i].toStdString()});
    }
    return text;
}

void AddFrame(const Frame& frame, const RectMm& r, Page& page) {
    struct Edge {
        Side side;
        double x1, y1, x2, y2;
    };
    const Edge edges[] = {{kLeft, r.x, r.y, r.x, r.Bottom()},
                          {kTop, r.x, r.y, r.Right(), r.y},
                          {kRight, r.Right(), r.y, r.Right(), r.Bottom()},
                          {kBottom, r.x, r.Bottom(), r.Right(), r.Bottom()}};
    for (const Edge& e : edges)
        if (frame.sides & e.side)
            page.lines.push_back({e.x1, e.y1, e.x2, e.y2, UnitsToMm(frame.WidthOf(e.side)),
                                  frame.color, LineStyle::Solid});
}

void AddBarcode(const ReportObject& o, const BandInput& input, Page& page) {
    auto symbol = MakeSymbol(o.text, o.barcode);
    if (!symbol) return;
    FontStyle font = o.ownFont ? o.font : input.pageFont;
    double barHeight = o.height - LineHeightMm(font);
    // A barcode with a width fills it (quiet zones included); without one
    // it has the desk's size.
    const double narrow = o.width > 0 ? o.width / symbol->units : kCode39NarrowMm;
    for (const SymbolBar& bar : symbol->bars)
        page.fills.push_back(
            {{o.left + bar.start * narrow, o.top, bar.width * narrow, barHeight}, o.color});
    const double barsLeft = o.left + o.barcode.quiet * narrow;
    const double width = (symbol->units - 2 * o.barcode.quiet) * narrow;
    double textWidth = input.metrics->WidthMm(QString::fromStdString(o.text), font);
    RectMm clip{barsLeft, o.top + barHeight, width, LineHeightMm(font)};
    double baseline = clip.y + EmMm(font) * kBaselineInLine;
    page.texts.push_back(
        {o.name, clip, font, o.color, {{barsLeft + (width - textWidth) / 2, baseline, o.text}}});
}

void AddShape(const ReportObject& o, const BandInput& input, Page& page) {
    if (o.kind == ObjectKind::Rectangle)
        AddFrame(o.frame, {o.left, o.top, o.width, o.height}, page);
    if (o.kind == ObjectKind::Line)
        page.lines.push_back({o.left, o.top, o.left + o.width, o.top + o.height,
                              UnitsToMm(o.lineWidth), o.color, o.lineStyle});
    if (o.kind == ObjectKind::Barcode) AddBarcode(o, input, page);
}

double LowestBottom(const std::vector<Cell>& cells, const std::vector<CompiledObject>& objects) {
    double bottom = 0;
    for (const Cell& c : cells) bottom = std::max(bottom, c.rect.Bottom());
    for (const CompiledObject& c : objects)
        if (c.object->visible && c.object->kind != ObjectKind::Text)
            bottom = std::max(bottom, c.object->top + c.object->height);
    return bottom;
}

}  // namespace

std::vector<CompiledObject> Compile(const std::vector<ReportObject>& objects) {
    std::vector<CompiledObject> out;
    for (const ReportObject& o : objects) out.push_back({&o, ParseText(o.text)});
    return out;
}

PlacedBand LayOutBand(const std::vector<CompiledObject>& objects, double height, bool stretch,
                      const BandInput& input) {
    PlacedBand band;
    std::vector<Cell> cells;
    for (const CompiledObject& c : objects)
        if (c.object->visible && c.object->kind == ObjectKind::Text)
            cells.push_back(TextCell(c, input));
    StretchRow(cells);
    for (const CompiledObject& c : objects)
        if (c.object->visible) AddShape(*c.object, input, band.content);
    for (const Cell& cell : cells) {
        band.content.texts.push_back(TextOf(cell, *input.metrics));
        AddFrame(cell.object->frame, cell.rect, band.content);
    }
    band.height = stretch ? LowestBottom(cells, objects) : height;
    return band;
}

void AppendBand(Page& page, PlacedBand&& band, double x, double y) {
    for (PageFill fill : band.content.fills) {
        fill.rect.x += x;
        fill.rect.y += y;
        page.fills.push_back(fill);
    }
    for (PageText& text : band.content.texts) {
        text.clip.x += x;
        text.clip.y += y;
        for (TextLine& line : text.lines) {
            line.x += x;
            line.baseline += y;
        }
        page.texts.push_back(std::move(text));
    }
    for (PageLine line : band.content.lines) {
        line.x1 += x;
        line.x2 += x;
        line.y1 += y;
        line.y2 += y;
        page.lines.push_back(line);
    }
}

}  // namespace kashidashi::reports
