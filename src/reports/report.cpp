#include "reports/report.h"

#include "reports/layout_file.h"
#include "reports/preview_window.h"
#include "reports/renderer.h"
#include "widgets/dialogs.h"

namespace kashidashi::reports {

Report::Report(const QString& layoutName) : layout_(LoadLayout(layoutName)) {}

Report::~Report() = default;

void Report::SetText(std::string_view object, const std::string& text) {
    if (ReportObject* found = FindObject(object)) found->text = text;
}

void Report::SetVisible(std::string_view object, bool visible) {
    if (ReportObject* found = FindObject(object)) found->visible = visible;
}

void Report::AddDataSet(std::string name, engine::TDataSet& dataSet, bool closeAfter) {
    sources_.push_back(DataSetSource(std::move(name), dataSet, closeAfter));
}

void Report::AddRows(TReportRows& rows) {
    sources_.push_back(RowsSource(rows));
}

const PreparedReport& Report::Prepare() {
    prepared_ = {};
    std::vector<ReportSource*> sources;
    for (auto& source : sources_) sources.push_back(source.get());
    prepared_ = RenderReport(layout_, sources);
    return prepared_;
}

bool Report::Show(QWidget* parent) {
    try {
        Prepare();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(parent, error);
        return false;
    }
    TPreview preview(prepared_, parent);
    Dialogs::Exec(preview);
    return true;
}

}  // namespace kashidashi::reports
