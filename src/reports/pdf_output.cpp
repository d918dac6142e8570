#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "reports/page_painter.h"
#include "reports/pdf_text.h"
#include "reports/report_output.h"

namespace kashidashi::reports {
namespace {

QPageLayout SheetOf(const Page& page) {
    QPageSize size(QSizeF(page.width, page.height), QPageSize::Millimeter);
    return QPageLayout(size,
                       page.width > page.height ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// The pages on a device whose painting starts at the sheet's corner.
bool PaintAll(const PreparedReport& report, QPagedPaintDevice& device, QPainter& painter) {
    for (size_t i = 0; i < report.pages.size(); ++i) {
        if (i > 0 && !device.newPage()) return false;
        PaintPage(painter, report.pages[i]);
    }
    return painter.end();
}

}  // namespace

bool WritePdf(const PreparedReport& report, const QString& path, const QString& title) {
    if (report.pages.empty()) return false;
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setCreator(QStringLiteral("貸出と返却"));
    writer.setTitle(title.isEmpty() ? QString::fromStdString(report.name) : title);
    writer.setPageLayout(SheetOf(report.pages[0]));
    QPainter painter;
    if (!painter.begin(&writer) || !PaintAll(report, writer, painter)) return false;
    return MendPdfText(path, report);
}

bool PrintPages(const PreparedReport& report, QPrinter& printer) {
    if (report.pages.empty()) return false;
    printer.setFullPage(true);
    printer.setPageLayout(SheetOf(report.pages[0]));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    return PaintAll(report, printer, painter);
}

bool HasPrinter() {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

}  // namespace kashidashi::reports
