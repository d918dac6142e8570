// TLibXGrid::CopyCsvFile: the grid's rows as shown, written as a CSV file.
#include <QApplication>
#include <fstream>

#include "engine/dataset/dataset.h"
#include "grid/LibXGrid.h"
#include "grid/export_progress.h"
#include "platform/cp932.h"
#include "widgets/dialogs.h"

namespace kashidashi {
namespace {

constexpr const char* kMarker = "!#$%&()=~|";

// Without the blanks and control characters at either end (a full-width
// space is kept).
std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// A record field: quotes doubled through the marker, as the format asks.
std::string QuotedField(std::string_view display) {
    std::string text(Trimmed(display));
    if (text.find('"') != std::string::npos) {
        ReplaceAll(text, "\"", kMarker);
        ReplaceAll(text, kMarker, "\"\"");
    }
    return text;
}

// Controls of a data set suspended for as long as it lives.
struct ControlsSuspended {
    explicit ControlsSuspended(engine::TDataSet& dataSet) : dataSet(dataSet) {
        dataSet.DisableControls();
    }
    ~ControlsSuspended() { dataSet.EnableControls(); }
    engine::TDataSet& dataSet;
};

}  // namespace

int TLibXGrid::CopyCsvFile() {
    ExportProgress progress(*this, ExportProgress::Kind::Csv, [this] { ExportCancelled = true; });
    ExportCancelled = false;
    ExportLines.clear();
    engine::TDataSet* dataSet = DataSet();
    if (!dataSet || dataSet->State() != engine::DataSetState::dsBrowse) {
        progress.Close();
        ExportFailed(kNothingToExport);
        return 0;
    }
    if (!SaveExportLines(CsvPath())) {
        progress.Close();
        ExportFailed(kCsvNotCreated);
        return 0;
    }
    try {
        return WriteCsvLines(*dataSet, progress);
    } catch (const std::exception&) {
        // The lines were never saved: the file stays empty, and nothing counts.
        progress.Close();
        ExportFailed(kCsvFailed);
        return 0;
    }
}

int TLibXGrid::WriteCsvLines(engine::TDataSet& dataSet, ExportProgress& progress) {
    const std::vector<int> columns = ExportColumns();
    int result = 0;
    if (ExportTitleRow) ExportLines.append(TitleLine(columns)), ++result;
    {
        ControlsSuspended suspended(dataSet);
        dataSet.First();
        const int maximum = static_cast<int>(dataSet.RecordCount());
        progress.SetMaximum(maximum);
        int counter = 0;
        while (!dataSet.Eof()) {
            progress.StepIt();
            if (++counter % 10 == 0)
                progress.SetLabel(QString::asprintf("%d / %d", counter, maximum));
            progress.LetEventsRun();
            if (ExportCancelled) {
                result = -result;
                break;
            }
            ExportLines.append(RecordLine(columns)), ++result;
            dataSet.Next();
        }
        progress.SetLabel(QString::asprintf("%d / %d", counter, maximum));
        progress.ProcessMessages();
        dataSet.First();
    }
    if (!SaveExportLines(CsvPath())) throw std::runtime_error("the CSV file cannot be written");
    progress.Close();
    return result;
}

std::string TLibXGrid::CsvPath() {
    if (CsvFileName.empty()) return DefaultCsvFileName();
    return CsvFileName;
}

// The grid columns that take part: those wider than 0, in grid order.
std::vector<int> TLibXGrid::ExportColumns() const {
    std::vector<int> columns;
    for (int column = 0; column < ColumnCount(); ++column)
        if (ColumnWidth(column) > 0) columns.push_back(column);
    return columns;
}

QString TLibXGrid::TitleLine(const std::vector<int>& columns) const {
    std::string line;
    for (int column : columns) {
        const QString title = model()->headerData(column, Qt::Horizontal).toString();
        line += column != 0 ? ",\"" : "\"";
        line += Trimmed(title.toStdString());
        line += '"';
    }
    return QString::fromStdString(line);
}

// A field whose text cannot be read is left out with its comma.
QString TLibXGrid::RecordLine(const std::vector<int>& columns) const {
    std::string line;
    for (int column : columns) {
        engine::TField* field = ColumnField(column);
        std::string text;
        try {
            if (!field) continue;
            text = QuotedField(field->DisplayText());
        } catch (const std::exception&) {
            continue;
        }
        line += column != 0 ? ",\"" : "\"";
        line += text;
        line += '"';
    }
    return QString::fromStdString(line);
}

// The whole file: every line with CR LF, code page 932, no byte-order mark.
bool TLibXGrid::SaveExportLines(const std::string& path) const {
    QString text = ExportLines.join(QStringLiteral("\r\n"));
    if (!ExportLines.isEmpty()) text += QStringLiteral("\r\n");
    const std::string bytes = platform::ToCp932(text.toStdString());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

void TLibXGrid::ExportFailed(const char* message) {
    if (!ShowExportMessages) return;
    QApplication::beep();
    Dialogs::Error(window(), QString::fromUtf8(message));
}

}  // namespace kashidashi
