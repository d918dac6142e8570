// Report: one layout of a window with the data sets it prints. The window
// finds objects by name (without regard to case), sets their texts or hides
// them, and shows the report: the pages are prepared anew at every showing
// and opened in the preview window at 100 %.
//
// A data set that fails to open (or a field that is missing) is shown once
// in the standard error box, and no preview opens.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "reports/layout.h"
#include "reports/page_model.h"
#include "reports/report_source.h"

class QWidget;

namespace engine {
class TDataSet;
}

namespace kashidashi {
class TReportRows;
}

namespace kashidashi::reports {

class Report {
  public:
    // The layout of the program's resources with this name.
    explicit Report(const QString& layoutName);
    ~Report();

    Layout& GetLayout() { return layout_; }
    ReportObject* FindObject(std::string_view name) { return layout_.FindObject(name); }
    // Both do nothing for a name the layout lacks.
    void SetText(std::string_view object, const std::string& text);
    void SetVisible(std::string_view object, bool visible);

    // `name` as the layout names the data set; closed after the report when
    // `closeAfter`.
    void AddDataSet(std::string name, engine::TDataSet& dataSet, bool closeAfter = false);
    void AddRows(TReportRows& rows);  // rptHead

    // Clears the pages and prepares them again; throws what the data throws.
    const PreparedReport& Prepare();
    const PreparedReport& Prepared() const { return prepared_; }
    // Prepares and opens the preview (modal, through Dialogs); false when
    // preparing failed (the error shown).
    bool Show(QWidget* parent);

  private:
    Layout layout_;
    std::vector<std::unique_ptr<ReportSource>> sources_;
    PreparedReport prepared_;
};

}  // namespace kashidashi::reports
