#include "tools/init_folder.h"

#include "data/schema.h"

namespace kashidashi::admin {

void RequireNoDataTables(DataFolder& folder) {
    auto existing = folder.ExistingDataTables();
    if (existing.empty()) return;
    std::string names;
    for (const auto& name : existing) names += (names.empty() ? "" : ", ") + name;
    throw AdminError("フォルダ「" + folder.Folder() + "」には既にデータ表があります（" + names +
                     "）。何も変更していません。");
}

void CreateDataTables(DataFolder& folder) {
    folder.RunScript(DataTablesScript());
}

void InitDataFolder(DataFolder& folder) {
    RequireNoDataTables(folder);
    InOneTransaction(folder, [&] {
        CreateDataTables(folder);
        // The lending settings row that 初期設定 edits: new books may be lent
        // at once, and by their ISBN. Without it the window could keep
        // neither setting on a new school.
        folder.RunScript("Insert Into Reg (ID, N1, N2) Values (2, 0, 0)");
    });
}

}  // namespace kashidashi::admin
