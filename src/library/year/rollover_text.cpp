// The plan of the new school year as a table (rollover.h).
#include <cstdio>

#include "engine/common/dates.h"
#include "library/year/rollover.h"

namespace kashidashi::library {
namespace {

using Row = std::vector<std::string>;

std::string BookNumber(int64_t book) {
    char text[24];
    std::snprintf(text, sizeof text, "%07lld", static_cast<long long>(book));
    return text;
}

std::string OldToNew(const std::string& before, const std::string& after) {
    return before == after ? after : before + " → " + after;
}

Row EntryRow(const char* kind, const RolloverEntry& entry, std::string note = "") {
    return {kind,
            entry.after.nameId.empty() ? entry.before.nameId : entry.after.nameId,
            OldToNew(entry.before.name, entry.after.name),
            OldToNew(entry.before.className, entry.after.className),
            OldToNew(entry.before.pupilNo,
                     entry.after.pupilNo.empty() ? "（なし）" : entry.after.pupilNo),
            std::move(note)};
}

Row OldRow(const char* kind, const RolloverUser& user, std::string note) {
    return {kind, user.nameId, user.name, user.className, user.pupilNo, std::move(note)};
}

Row NewRow(const char* kind, const RolloverUser& user, std::string note) {
    return OldRow(kind, user, std::move(note));
}

std::string LineNote(const RolloverEntry& entry) {
    return (entry.file.empty() ? "" : entry.file + " ") + std::to_string(entry.line) + "行目";
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
    return {"種別", "固定番号", "名前", "所属", "生徒番号", "備考"};
}

std::vector<std::vector<std::string>> RolloverRows(const RolloverPlan& plan) {
    std::vector<Row> rows;
    for (const auto& warning : plan.warnings)
        rows.push_back({"注意", warning.nameId, warning.name, "", "", warning.text});
    for (const auto& added : plan.newClasses)
        rows.push_back({"所属追加", "", "", added.name, "",
                        "所属コード " + std::to_string(added.code) + " は所属にないので加えます"});
    if (plan.makeLeavers)
        rows.push_back({"所属追加", "", "", plan.leavers.name, "",
                        "所属コード " + std::to_string(plan.leavers.code) +
                            "（本を返していない卒業・転出の利用者）"});
    for (const auto& entry : plan.changes) rows.push_back(EntryRow("変更", entry, LineNote(entry)));
    for (const auto& entry : plan.added)
        rows.push_back(NewRow("新規", entry.after, LineNote(entry)));
    for (const auto& entry : plan.removed)
        rows.push_back(OldRow("削除", entry.before, "名簿になく、貸出中の本もありません"));
    for (const auto& entry : plan.kept)
        rows.push_back(EntryRow(kLeaversClass, entry, LoansNote(entry)));
    for (const auto& r : plan.reservations)
        rows.push_back({"予約取消", r.nameId, r.name, "", "",
                        BookNumber(r.book) + " " + r.title + "（予約日 " +
                            engine::FormatDate(r.reservedOn) + "）"});
    return rows;
}

}  // namespace kashidashi::library
