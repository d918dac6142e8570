#include "engine/storage/locks/lock_table.h"

#include "engine/common/names.h"

namespace engine::storage {

bool LockTable::TryUseTable(const std::string& table, bool exclusive) {
    auto key = LowerName(table);
    Use& use = uses_[key];
    if (use.exclusive || (exclusive && use.shared > 0)) return false;
    if (!exclusive && use.shared > 0) {
        ++use.shared;
        return true;
    }
    auto kind = exclusive ? LockKind::Exclusive : LockKind::Shared;
    if (!file_.TryLock(LockFile::TableOffset(key), kind)) return false;
    if (exclusive)
        use.exclusive = true;
    else
        use.shared = 1;
    return true;
}

void LockTable::EndUseTable(const std::string& table, bool exclusive) {
    auto key = LowerName(table);
    auto it = uses_.find(key);
    if (it == uses_.end()) return;
    Use& use = it->second;
    if (exclusive)
        use.exclusive = false;
    else if (use.shared > 0)
        --use.shared;
    if (!use.exclusive && use.shared == 0) {
        file_.Unlock(LockFile::TableOffset(key));
        uses_.erase(it);
    }
}

bool LockTable::TryLockRow(const std::string& table, int64_t rowId) {
    auto key = std::make_pair(LowerName(table), rowId);
    auto it = rows_.find(key);
    if (it != rows_.end()) {
        ++it->second;
        return true;
    }
    if (!file_.TryLock(LockFile::RowOffset(key.first, rowId), LockKind::Exclusive)) return false;
    rows_[key] = 1;
    return true;
}

void LockTable::UnlockRow(const std::string& table, int64_t rowId) {
    auto it = rows_.find(std::make_pair(LowerName(table), rowId));
    if (it == rows_.end() || --it->second > 0) return;
    file_.Unlock(LockFile::RowOffset(it->first.first, rowId));
    rows_.erase(it);
}

bool LockTable::AnnounceDesk(const std::string& machine) {
    if (desk_ >= 0) return true;
    if (!file_.TryLock(LockFile::DeskMarkOffset(-1), LockKind::Shared)) return false;
    for (int desk = 0; desk < LockFile::kDeskSlots; ++desk) {
        if (!file_.TryLock(LockFile::DeskMarkOffset(desk), LockKind::Exclusive)) continue;
        file_.WriteText(LockFile::DeskNameOffset(desk), machine, LockFile::kDeskNameBytes);
        desk_ = desk;
        return true;
    }
    file_.Unlock(LockFile::DeskMarkOffset(-1));
    return false;
}

std::vector<std::string> LockTable::OpenDesks() {
    std::vector<std::string> machines;
    // Nobody holds the common mark: no desk is open (the usual case, one lock).
    if (desk_ < 0 && file_.TryLock(LockFile::DeskMarkOffset(-1), LockKind::Exclusive)) {
        file_.Unlock(LockFile::DeskMarkOffset(-1));
        return machines;
    }
    for (int desk = 0; desk < LockFile::kDeskSlots; ++desk) {
        if (desk == desk_) continue;
        if (file_.TryLock(LockFile::DeskMarkOffset(desk), LockKind::Exclusive)) {
            file_.Unlock(LockFile::DeskMarkOffset(desk));
            continue;  // a free place, or one a killed desk left
        }
        machines.push_back(
            file_.ReadText(LockFile::DeskNameOffset(desk), LockFile::kDeskNameBytes));
    }
    return machines;
}

}  // namespace engine::storage
