#include "tools/label_output.h"

#include <QFile>

#include "exchange/csv_file.h"
#include "library/labels/sheets.h"
#include "reports/report_output.h"
#include "tools/command_guard.h"
#include "tools/data_folder.h"
#include "tools/gui_application.h"

namespace kashidashi::admin {
namespace {

std::string SheetNames(engine::storage::Connection& connection) {
    std::string names;
    for (const auto& sheet : library::AvailableSheets(connection))
        names += "\n  " + sheet.name + "\t" + sheet.title;
    return names;
}

}  // namespace

reports::CellSheet RequireSheet(engine::storage::Connection& connection, const std::string& name) {
    EnsureGuiApplication();  // the sheets are in the program's resources
    if (name == library::kCustomSheetName) {
        if (auto custom = library::ReadCustomSheet(connection)) return *custom;
        throw AdminError(
            "ユーザー設定の用紙はまだ保存されていません（ラベル・カード印刷の画面で保存します）。");
    }
    if (auto sheet = reports::FindCellSheet(name)) return *sheet;
    throw AdminError("用紙 " + name + " はありません。使える用紙:" + SheetNames(connection));
}

int StartCell(const std::string& text, const reports::CellSheet& sheet) {
    try {
        size_t used = 0;
        int start = std::stoi(text, &used);
        if (used == text.size() && start >= 1 && start <= sheet.Count()) return start - 1;
    } catch (const std::exception&) {
    }
    throw WrongUse("--start には 1 から " + std::to_string(sheet.Count()) +
                   " までの位置を書いてください（用紙 " + sheet.name + "）。");
}

std::string ReadListFile(const std::string& path) {
    return exchange::ReadFileText(path);
}

reports::Symbology RequireSymbology(const std::optional<std::string>& name) {
    if (!name) return reports::Symbology::Code39;
    if (auto symbology = reports::SymbologyOf(*name)) return *symbology;
    throw WrongUse("--barcode には code39 か nw7 を書いてください。");
}

int UnlessWrongUse(const std::string& usage, std::ostream& err, const std::function<int()>& work) {
    try {
        return work();
    } catch (const WrongUse& wrong) {
        err << wrong.what() << "\n使い方: kashidashi-admin " << usage << "\n";
        return kExitUsage;
    }
}

void WriteLabelsPdf(const reports::PreparedReport& report, const std::string& path) {
    EnsureGuiApplication();
    if (!reports::WritePdf(report, QString::fromStdString(path)))
        throw AdminError("PDF ファイル " + path + " に書き込めません。");
}

}  // namespace kashidashi::admin
