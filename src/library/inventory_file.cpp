// A portable reader's file taken by the stock check (inventory_file.h).
#include "library/inventory_file.h"

#include <algorithm>

#include "library/connection_transaction.h"

namespace kashidashi::library {

std::vector<FileScan> ScanReaderLines(engine::storage::Connection& connection,
                                      const std::vector<desk::ScanLine>& lines,
                                      const std::function<void(size_t, size_t)>& progress) {
    std::vector<FileScan> scans;
    scans.reserve(lines.size());
    for (size_t start = 0; start < lines.size(); start += kScansPerTransaction) {
        const size_t end = std::min(lines.size(), start + kScansPerTransaction);
        std::vector<FileScan> batch;
        ConnectionTransaction transaction(connection);
        for (size_t i = start; i < end; ++i)
            batch.push_back({lines[i], ScanText(connection, lines[i].scan, true)});
        transaction.Commit();
        // Kept only once committed: a batch rolled back checked nothing.
        scans.insert(scans.end(), batch.begin(), batch.end());
        if (progress) progress(end, lines.size());
    }
    return scans;
}

FileSummary Summarise(const std::vector<FileScan>& scans) {
    FileSummary summary;
    for (const auto& scan : scans) {
        switch (scan.result.answer) {
            case ScanAnswer::Checked: ++summary.checked; break;
            case ScanAnswer::AlreadyChecked: ++summary.already; break;
            case ScanAnswer::OnLoan: ++summary.onLoan; break;
            case ScanAnswer::Discarded: ++summary.discarded; break;
            case ScanAnswer::Unknown: ++summary.unknown; break;
            default: ++summary.unreadable; break;
        }
    }
    return summary;
}

std::string SummaryText(const FileSummary& s) {
    return "点検 " + std::to_string(s.checked) + " 冊、点検済み " + std::to_string(s.already) +
           " 冊、貸出中の記録 " + std::to_string(s.onLoan) + " 冊、廃棄済み " +
           std::to_string(s.discarded) + " 冊、未登録 " + std::to_string(s.unknown) +
           " 件、読めない行 " + std::to_string(s.unreadable) + " 件";
}

}  // namespace kashidashi::library
