// SpreadsheetApplication: the application's, the workbooks' and the active
// sheet's calls. Loading and writing files are in spreadsheet_sheet.cpp and
// spreadsheet_xlsx.cpp.
#include "platform/spreadsheet.h"

#include <fstream>
#include <sstream>

#include "platform/cp932.h"
#include "platform/spreadsheet_app.h"
#include "platform/spreadsheet_sheet.h"

namespace platform {
namespace {

std::shared_ptr<SpreadsheetApplication>& RunningInstance() {
    static std::shared_ptr<SpreadsheetApplication> running;
    return running;
}

std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SpreadsheetError("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

std::shared_ptr<SpreadsheetApplication> SpreadsheetApplication::Running() {
    return RunningInstance();
}

std::shared_ptr<SpreadsheetApplication> SpreadsheetApplication::Create() {
    if (!SpreadsheetApplicationFound())
        throw AutomationError("no application for spreadsheets on this desktop");
    std::shared_ptr<SpreadsheetApplication> app(new SpreadsheetApplication());
    RunningInstance() = app;
    return app;
}

SpreadsheetApplication::~SpreadsheetApplication() = default;

void SpreadsheetApplication::SetVisible(bool visible) {
    if (visible) {
        const SpreadsheetWorkbook& workbook = Active();
        if (workbook.sourcePath.empty()) throw SpreadsheetError("the workbook has no file");
        const std::string path = XlsxPathBeside(workbook.sourcePath);
        WriteXlsx(workbook, path);
        if (!OpenInSpreadsheetApplication(path)) throw SpreadsheetError("cannot open " + path);
        writtenPath_ = path;
    }
    visible_ = visible;
}

void SpreadsheetApplication::Quit() {
    workbooks_.clear();
    visible_ = false;
    if (RunningInstance().get() == this) RunningInstance().reset();
}

void SpreadsheetApplication::WorkbooksAdd() {
    auto workbook = std::make_unique<SpreadsheetWorkbook>();
    workbook->name = "Book" + std::to_string(++added_);
    workbook->sheetName = "Sheet1";
    workbooks_.push_back(std::move(workbook));
}

void SpreadsheetApplication::WorkbooksClose() {
    workbooks_.clear();
}

void SpreadsheetApplication::WorkbooksOpen(const std::string& path, bool /*readOnly*/) {
    auto workbook = std::make_unique<SpreadsheetWorkbook>();
    workbook->rows = ParseCsv(FromCp932(ReadFile(path)));
    workbook->name = FileName(path);
    workbook->sourcePath = path;
    workbook->sheetName = DefaultSheetName(workbook->name);
    workbooks_.push_back(std::move(workbook));
}

std::string SpreadsheetApplication::WorkbookName(int index) const {
    if (index < 1 || index > WorkbooksCount()) throw SpreadsheetError("no such workbook");
    return workbooks_[index - 1]->name;
}

void SpreadsheetApplication::ActiveWorkbookClose() {
    Active();
    workbooks_.pop_back();
}

SpreadsheetWorkbook& SpreadsheetApplication::Active() const {
    if (workbooks_.empty()) throw SpreadsheetError("no workbook is open");
    return *workbooks_.back();
}

}  // namespace platform
