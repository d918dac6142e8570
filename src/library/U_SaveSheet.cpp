#include "library/U_SaveSheet.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <fstream>

#include "platform/cp932.h"
#include "platform/spreadsheet_app.h"
#include "widgets/dialogs.h"

namespace kashidashi {
namespace {

// The path the operator chose, or empty.
QString AskPath(QWidget* parent, const QString& caption, const QString& filter,
                const QString& suffix, const QString& suggestedName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    QFileDialog picker(parent, caption, QDir(folder).filePath(suggestedName), filter);
    picker.setAcceptMode(QFileDialog::AcceptSave);
    picker.setDefaultSuffix(suffix);
    if (Dialogs::Exec(picker) != QDialog::Accepted || picker.selectedFiles().isEmpty()) return {};
    return picker.selectedFiles().front();
}

}  // namespace

bool SaveSheetAsked(QWidget* parent, const library::SheetTable& table,
                    const QString& suggestedName) {
    const QString path =
        AskPath(parent, QStringLiteral("Excel ファイルに保存"),
                QStringLiteral("Excel ファイル (*.xlsx)"), QStringLiteral("xlsx"), suggestedName);
    if (path.isEmpty()) return false;
    try {
        library::WriteSheetFile(table, path.toStdString());
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(parent, error);  // in plain Japanese, with the engine's code
        return false;
    }
    if (platform::SpreadsheetApplicationFound() &&
        platform::OpenInSpreadsheetApplication(path.toStdString()))
        return true;
    Dialogs::Information(parent, QStringLiteral("保存しました。\r\n%1").arg(path));
    return true;
}

bool SaveCsvAsked(QWidget* parent, const std::string& utf8Text, const QString& suggestedName) {
    const QString path =
        AskPath(parent, QStringLiteral("CSV ファイルに保存"),
                QStringLiteral("CSV ファイル (*.csv)"), QStringLiteral("csv"), suggestedName);
    if (path.isEmpty()) return false;
    const std::string bytes = platform::ToCp932(utf8Text);
    std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
    if (!out || !out.write(bytes.data(), std::streamsize(bytes.size())) || !out.flush()) {
        Dialogs::Error(parent, QStringLiteral("ファイル %1 に書き込めません。").arg(path));
        return false;
    }
    Dialogs::Information(parent, QStringLiteral("保存しました。\r\n%1").arg(path));
    return true;
}

}  // namespace kashidashi
