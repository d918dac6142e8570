// RenderCells (cell_sheet.h): one band per cell of a sheet.
#include <algorithm>
#include <stdexcept>

#include "reports/band_layout.h"
#include "reports/cell_sheet.h"
#include "reports/expression.h"

namespace kashidashi::reports {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

struct Scale {
    double x = 1, y = 1;
    double Font() const { return std::min(x, y); }
};

// The band's objects at the cell's size.
std::vector<ReportObject> Scaled(const std::vector<ReportObject>& objects, Scale scale,
                                 const FontStyle& pageFont) {
    std::vector<ReportObject> scaled = objects;
    for (ReportObject& o : scaled) {
        o.left *= scale.x, o.width *= scale.x;
        o.top *= scale.y, o.height *= scale.y;
        if (!o.ownFont) o.font = pageFont, o.ownFont = true;
        o.font.size *= scale.Font();
    }
    return scaled;
}

// Texts of the current row made literal: barcodes read their expressions,
// and a text that does not wrap is cut to its cell.
void Evaluate(std::vector<ReportObject>& objects, const ExpressionContext& context,
              const TextMetrics& metrics) {
    for (ReportObject& o : objects) {
        if (o.kind == ObjectKind::Barcode) o.text = Evaluate(ParseText(o.text), context, false);
        if (o.kind != ObjectKind::Text || !o.dataSet.empty() || o.wordWrap) continue;
        o.text = CutToWidth(Evaluate(ParseText(o.text), context, o.hideZeros),
                            o.width - 2 * kCellPadX, o.font, metrics);
    }
}

class CellRenderer {
  public:
    CellRenderer(const Layout& layout, const CellSheet& sheet,
                 const std::vector<ReportSource*>& sources, const TextMetrics& metrics)
        : layout_(layout), sheet_(sheet), sources_(sources), metrics_(metrics) {
        context_.source = [this](std::string_view name) { return Source(name); };
        context_.count = [this](std::string_view) { return printed_; };
    }

    PreparedReport Run(int start) {
        report_.name = layout_.name;
        const Band* band = layout_.BandOf(BandKind::MasterData);
        if (!band) throw std::runtime_error("no master data band in " + layout_.name);
        ReportSource* rows = Source(band->dataSet);
        if (!rows) throw std::runtime_error("no data set " + band->dataSet);
        const Scale scale{sheet_.cellWidth / layout_.BandWidth(), sheet_.cellHeight / band->height};
        const auto objects = Scaled(band->objects, scale, layout_.pageFont);
        int cell = std::clamp(start, 0, sheet_.Count() - 1);
        for (rows->First(); !rows->Eof(); rows->Next(), ++cell) {
            if (report_.pages.empty() || cell == sheet_.Count()) NewPage(cell);
            PlaceCell(objects, cell);
        }
        if (report_.pages.empty()) NewPage(cell);
        return std::move(report_);
    }

  private:
    ReportSource* Source(std::string_view name) const {
        for (ReportSource* source : sources_)
            if (SameName(source->Name(), name)) return source;
        return nullptr;
    }

    void NewPage(int& cell) {
        report_.pages.push_back({sheet_.pageWidth, sheet_.pageHeight, {}, {}, {}});
        context_.page = static_cast<int>(report_.pages.size());
        if (report_.pages.size() > 1) cell = 0;
    }

    void PlaceCell(std::vector<ReportObject> objects, int cell) {
        Evaluate(objects, context_, metrics_);
        const RectMm rect = sheet_.CellRect(cell);
        BandInput input{rect.w, layout_.pageFont, &context_, &metrics_};
        PlacedBand placed = LayOutBand(Compile(objects), rect.h, false, input);
        AppendBand(report_.pages.back(), std::move(placed), rect.x, rect.y);
        ++printed_;
    }

    const Layout& layout_;
    const CellSheet& sheet_;
    const std::vector<ReportSource*>& sources_;
    const TextMetrics& metrics_;
    ExpressionContext context_;
    PreparedReport report_;
    int printed_ = 0;
};

}  // namespace

PreparedReport RenderCells(const Layout& layout, const CellSheet& sheet, int start,
                           const std::vector<ReportSource*>& sources, const TextMetrics& metrics) {
    if (auto problem = sheet.Problem()) throw std::runtime_error(*problem);
    SourcesClosed closed{sources};
    for (ReportSource* source : sources) source->Open();
    return CellRenderer(layout, sheet, sources, metrics).Run(start);
}

}  // namespace kashidashi::reports
