// TPreview: the preview window of every report. It opens at 100 % on the
// first page and offers print (the default printer), page setup, zoom, page
// navigation, find (text in the pages), an outline of the pages, export to
// PDF and to a spreadsheet, and save and open of prepared reports.
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

  private:
    void BuildToolBar();
    void BuildBody();
    void ShowPage();
    void FillOutline();
    void AskAndRun(bool save, const QString& filter, bool (TPreview::*action)(const QString&));

    PreparedReport report_;
    int page_ = 0;
    int foundText_ = -1;
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
