#include "reports/renderer.h"

#include <map>
#include <stdexcept>
#include <utility>

#include "reports/band_layout.h"

namespace kashidashi::reports {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

class Renderer {
  public:
    Renderer(const Layout& layout, const std::vector<ReportSource*>& sources,
             const TextMetrics& metrics)
        : layout_(layout), sources_(sources) {
        context_.source = [this](std::string_view name) { return Source(name); };
        context_.count = [this](std::string_view band) { return Count(band); };
        input_ = {layout.BandWidth(), layout.pageFont, &context_, &metrics};
        for (const Band& band : layout.bands) compiled_[&band] = Compile(band.objects);
        pageObjects_ = Compile(layout.pageObjects);
    }

    PreparedReport Run() {
        report_.name = layout_.name;
        StartPage(true);
        if (const Band* band = layout_.BandOf(BandKind::ColumnHeader)) Place(*band);
        if (const Band* master = layout_.BandOf(BandKind::MasterData)) PrintRows(*master);
        if (const Band* band = layout_.BandOf(BandKind::ReportSummary)) Place(*band);
        FinishPage();
        return std::move(report_);
    }

  private:
    ReportSource* Source(std::string_view name) const {
        for (ReportSource* source : sources_)
            if (SameName(source->Name(), name)) return source;
        return nullptr;
    }
    int Count(std::string_view band) const {
        for (const auto& [name, rows] : counts_)
            if (SameName(name, band)) return rows;
        return 0;
    }

    void PrintRows(const Band& master) {
        ReportSource* source = Source(master.dataSet);
        if (!source) throw std::runtime_error("no data set " + master.dataSet);
        counts_[master.name] = 0;
        for (source->First(); !source->Eof(); source->Next()) {
            Place(master);
            ++counts_[master.name];
        }
    }

    void StartPage(bool first) {
        report_.pages.push_back({layout_.pageWidth, layout_.pageHeight, {}, {}, {}});
        context_.page = static_cast<int>(report_.pages.size());
        cursor_ = layout_.marginTop;
        bodyOnPage_ = false;
        if (!pageObjects_.empty())
            AppendBand(CurrentPage(), LayOutBand(pageObjects_, 0, false, input_),
                       layout_.marginLeft, layout_.marginTop);
        if (const Band* title = layout_.BandOf(BandKind::ReportTitle); title && first)
            PlaceHere(*title);
        if (const Band* header = layout_.BandOf(BandKind::PageHeader)) PlaceHere(*header);
    }

    void FinishPage() {
        const Band* footer = layout_.BandOf(BandKind::PageFooter);
        if (!footer) return;
        PlacedBand placed = LayOutBand(compiled_[footer], footer->height, footer->stretch, input_);
        AppendBand(CurrentPage(), std::move(placed), layout_.marginLeft, FooterTop());
    }

    double FooterTop() const {
        const Band* footer = layout_.BandOf(BandKind::PageFooter);
        return layout_.pageHeight - layout_.marginBottom - (footer ? footer->height : 0);
    }

    // A band of the body: on a new page when it does not fit on this one.
    void Place(const Band& band) {
        PlacedBand placed = LayOutBand(compiled_[&band], band.height, band.stretch, input_);
        if (cursor_ + placed.height > FooterTop() + 1e-9 && bodyOnPage_) {
            FinishPage();
            StartPage(false);
        }
        AppendBand(CurrentPage(), std::move(placed), layout_.marginLeft, cursor_);
        cursor_ += placed.height;
        bodyOnPage_ = true;
    }

    void PlaceHere(const Band& band) {
        PlacedBand placed = LayOutBand(compiled_[&band], band.height, band.stretch, input_);
        AppendBand(CurrentPage(), std::move(placed), layout_.marginLeft, cursor_);
        cursor_ += placed.height;
    }

    Page& CurrentPage() { return report_.pages.back(); }

    const Layout& layout_;
    const std::vector<ReportSource*>& sources_;
    ExpressionContext context_;
    BandInput input_;
    std::map<const Band*, std::vector<CompiledObject>> compiled_;
    std::vector<CompiledObject> pageObjects_;
    std::map<std::string, int> counts_;
    PreparedReport report_;
    double cursor_ = 0;
    bool bodyOnPage_ = false;
};

}  // namespace

PreparedReport RenderReport(const Layout& layout, const std::vector<ReportSource*>& sources,
                            const TextMetrics& metrics) {
    SourcesClosed closed{sources};
    for (ReportSource* source : sources) source->Open();
    return Renderer(layout, sources, metrics).Run();
}

}  // namespace kashidashi::reports
