#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "reports/report_output.h"

namespace kashidashi::reports {
namespace {

// Positions compare to a tenth of a millimetre.
int Tenths(double mm) {
    return static_cast<int>(std::lround(mm * 10));
}

std::vector<int> ColumnEdges(const PreparedReport& report) {
    std::set<int> edges;
    for (const Page& page : report.pages)
        for (const PageText& text : page.texts)
            if (!text.lines.empty()) edges.insert(Tenths(text.clip.x));
    return {edges.begin(), edges.end()};
}

void SetColumnWidths(lxw_worksheet* sheet, const std::vector<int>& edges, double pageWidth) {
    for (size_t c = 0; c < edges.size(); ++c) {
        double right = c + 1 < edges.size() ? edges[c + 1] / 10.0 : pageWidth;
        double mm = std::max(2.0, right - edges[c] / 10.0);
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), mm / 2.0,
                             nullptr);
    }
}

// One page's texts, row by row; returns the next free row.
lxw_row_t WritePage(lxw_worksheet* sheet, const Page& page, const std::vector<int>& edges,
                    lxw_row_t row, lxw_format* wrap) {
    std::map<int, std::map<size_t, std::string>> cells;  // top -> column -> text
    for (const PageText& text : page.texts) {
        std::string content = text.Text();
        if (content.empty()) continue;
        size_t column =
            std::lower_bound(edges.begin(), edges.end(), Tenths(text.clip.x)) - edges.begin();
        std::string& cell = cells[Tenths(text.clip.y)][column];
        cell += (cell.empty() ? "" : " ") + content;
    }
    for (const auto& [top, columns] : cells) {
        for (const auto& [column, text] : columns)
            worksheet_write_string(sheet, row, static_cast<lxw_col_t>(column), text.c_str(), wrap);
        ++row;
    }
    return row;
}

}  // namespace

bool WriteSpreadsheet(const PreparedReport& report, const std::string& path,
                      std::atomic<int>* pagesDone) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    if (!book) return false;
    lxw_doc_properties properties{};
    properties.author = const_cast<char*>("貸出と返却");
    workbook_set_properties(book, &properties);
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* wrap = workbook_add_format(book);
    format_set_text_wrap(wrap);
    format_set_align(wrap, LXW_ALIGN_VERTICAL_TOP);
    std::vector<int> edges = ColumnEdges(report);
    SetColumnWidths(sheet, edges, report.pages.empty() ? 210 : report.pages[0].width);
    lxw_row_t row = 0;
    for (const Page& page : report.pages) {
        row = WritePage(sheet, page, edges, row, wrap) + 1;  // an empty line between pages
        if (pagesDone) ++*pagesDone;
    }
    return workbook_close(book) == LXW_NO_ERROR;
}

}  // namespace kashidashi::reports
