// TPreview: the preview window of every report. It opens on the first page
// at 100 %, or at 幅に合わせる (the page's width fills the view) when the
// page at 100 % is wider than the view, as on a laptop's screen with a
// landscape page. It offers print (the default printer), page setup, zoom
// (幅に合わせる, ページ全体 and fixed steps; the fitted ones follow the
// window's size), page navigation, find (text in the pages), an outline of
// the pages, export to PDF and to a spreadsheet (each says where it saved
// the file), and save and open of prepared reports.
//
// Without a printer the pages still show; printing says so in a message.
// The spreadsheet export runs in the background behind a progress display
// that cannot be dismissed while it runs (開く is refused meanwhile) and
// replaces an existing file without asking. File names are asked with a
// file dialog shown through Dialogs. The operations are public for the
// tests, which call them with a path instead of the dialog.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "reports/page_model.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QScrollArea;

namespace kashidashi::reports {

class PageView;

class TPreview : public QDialog {
    Q_OBJECT
  public:
    explicit TPreview(PreparedReport report, QWidget* parent = nullptr);
    ~TPreview() override;

    const PreparedReport& Report() const { return report_; }
    int PageIndex() const { return page_; }  // from 0
    double Zoom() const;                     // 1.0 is 100 %
    void SetZoom(double zoom);
    // The zoom that follows the view: the page's width fills it, or the
    // whole page shows in it.
    enum class Fit { None, Width, Page };
    void SetFit(Fit fit);
    Fit FitShown() const { return fit_; }
    void GoToPage(int index);  // clamped to the pages
    // The next text (from the page shown, then onwards, wrapping) holding
    // `text`: its page shown and the text marked; false when none has it.
    bool Find(const QString& text);

    void Print();
    void PageSetup();
    bool ExportPdf(const QString& path);
    bool ExportSpreadsheet(const QString& path);
    bool Save(const QString& path);
    // Shows the prepared report of the file; false (nothing changed) when it
    // cannot be read or while a spreadsheet export reads the pages.
    bool Open(const QString& path);

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildToolBar();
    void ApplyFit();
    void ChooseFirstZoom();
    QSize Room(Fit fit) const;
    void BuildBody();
    void ShowPage();
    void FillOutline();
    void AskAndRun(bool save, const QString& filter, bool (TPreview::*action)(const QString&));

    PreparedReport report_;
    int page_ = 0;
    int foundText_ = -1;
    Fit fit_ = Fit::None;
    bool zoomChosen_ = false;
    std::unique_ptr<QPrinter> printer_;
    PageView* view_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QListWidget* outline_ = nullptr;
    QComboBox* zoom_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    QLineEdit* findText_ = nullptr;
    QAction* openAction_ = nullptr;  // disabled while exporting
    bool exporting_ = false;         // a thread reads report_
};

}  // namespace kashidashi::reports
