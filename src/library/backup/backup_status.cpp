#include "library/backup/backup_status.h"

#include <filesystem>

#include "engine/common/dates.h"
#include "library/backup/backup_folder.h"

namespace kashidashi::library {
namespace {

std::string MissingFolderText(const std::string& folder) {
    return "バックアップ先のフォルダ「" + folder +
           "」が見つかりません。USBメモリなどがつながっているか確かめてください。"
           "見つかるまで自動バックアップは作られません。";
}

}  // namespace

int SchoolDaysBetween(engine::Date from, engine::Date to) {
    const int64_t monday = engine::MakeDate(2026, 1, 5).days;  // a Monday
    int days = 0;
    for (int64_t day = from.days + 1; day <= to.days; ++day) {
        int64_t weekday = ((day - monday) % 7 + 7) % 7;  // 0 Monday ... 5 Saturday, 6 Sunday
        if (weekday < 5) ++days;
    }
    return days;
}

BackupStatus DeskBackupStatus(const std::string& folder, engine::Date today) {
    BackupStatus status;
    // No folder chosen yet: the school sees it, without a warning at every
    // opening (a new school chooses it when it is ready).
    if (folder.empty()) {
        status.line = "バックアップ先が決まっていません（図書館の管理のバックアップで決めます）";
        return status;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        status.line = "バックアップ先が見つかりません";
        status.warning = MissingFolderText(folder);
        return status;
    }
    for (const auto& entry : ListBackups(folder, false)) {  // newest first
        if (!CheckedSealProblem(entry.path).empty()) continue;
        status.line = "最後の正常なバックアップ: " + entry.madeAt;
        auto made = engine::ParseDate(entry.madeAt.substr(0, 10));
        if (made && SchoolDaysBetween(*made, today) > kSchoolDaysBeforeWarning)
            status.warning = "最後の正常なバックアップは " + entry.madeAt.substr(0, 10) +
                             " のもので、" + std::to_string(SchoolDaysBetween(*made, today)) +
                             " 授業日前です。バックアップ先のフォルダと自動バックアップの記録を"
                             "確かめてください。";
        return status;
    }
    status.line = "正常なバックアップがまだありません";
    return status;
}

}  // namespace kashidashi::library
