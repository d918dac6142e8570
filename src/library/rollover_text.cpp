// The plan of the new school year as a table (rollover.h).
#include <cstdio>

#include "engine/common/dates.h"
#include "library/rollover.h"

namespace kashidashi::library {
namespace {

using Row = std::vector<std::string>;

std::string BookNumber(int64_t book) {
    char text[24];
    std::snprintf(text, sizeof text, "%07lld", static_cast<long long>(book));
    return text;
}

Row EntryRow(const char* kind, const RolloverEntry& entry, std::string note = "") {
    return {kind,
            entry.after.nameId.empty() ? entry.before.nameId : entry.after.nameId,
            entry.after.name.empty() ? entry.before.name : entry.after.name,
            entry.before.className,
            entry.before.pupilNo,
            entry.after.className,
            entry.after.pupilNo,
            std::move(note)};
}

std::string LineNote(const RolloverEntry& entry) {
    return std::to_string(entry.line) + "行目";
}

// A kept user's books: "0000012 かいけつゾロリ（返却予定日 2025/03/10）、…".
std::string LoansNote(const RolloverEntry& entry) {
    std::string note = "貸出中 " + std::to_string(entry.loans.size()) + " 冊: ";
    for (size_t i = 0; i < entry.loans.size(); ++i)
        note += (i ? "、" : "") + BookNumber(entry.loans[i].book) + " " + entry.loans[i].title +
                "（返却予定日 " + engine::FormatDate(entry.loans[i].due) + "）";
    if (entry.after.pupilNo.empty()) note += "。生徒番号は新しい利用者が使うため空にします";
    return note;
}

}  // namespace

std::vector<std::string> RolloverTitles() {
    return {"種別", "固定番号", "名前", "所属", "生徒番号", "新しい所属", "新しい生徒番号", "備考"};
}

std::vector<std::vector<std::string>> RolloverRows(const RolloverPlan& plan) {
    std::vector<Row> rows;
    for (const auto& entry : plan.changes) rows.push_back(EntryRow("変更", entry, LineNote(entry)));
    for (const auto& entry : plan.added) rows.push_back(EntryRow("新規", entry, LineNote(entry)));
    for (const auto& entry : plan.removed) {
        Row row = EntryRow("削除", entry, "名簿になく、貸出中の本もありません");
        row[5] = row[6] = "";
        rows.push_back(std::move(row));
    }
    for (const auto& entry : plan.kept) rows.push_back(EntryRow("残す", entry, LoansNote(entry)));
    for (const auto& r : plan.reservations)
        rows.push_back({"予約削除", r.nameId, r.name, "", "", "", "",
                        BookNumber(r.book) + " " + r.title + "（予約日 " +
                            engine::FormatDate(r.reservedOn) + "）"});
    return rows;
}

}  // namespace kashidashi::library
