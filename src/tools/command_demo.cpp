// demo FOLDER: init, then the demo school of demo_school.h.
#include "engine/common/dates.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/data_folder.h"
#include "tools/demo_school.h"
#include "tools/init_folder.h"

namespace kashidashi::admin {
namespace {

void WriteTables(DataFolder& folder, const std::vector<DemoTable>& school) {
    for (const auto& demo : school) {
        auto table = folder.Table(demo.name);
        table->Open();
        AppendRows(*table, demo.rows);
        table->Close();
    }
}

}  // namespace

int CommandDemo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCommand(args, 1, kDemoUsage, err, [&] {
        DataFolder folder(args[0]);
        RequireNoDataTables(folder);
        const auto school = DemoSchool(engine::Today());
        // Tables and rows together: a failure leaves the folder as it was.
        InOneTransaction(folder, [&] {
            CreateDataTables(folder);
            WriteTables(folder, school);
        });
        out << "デモの学校を作りました: 利用者 " << kDemoPupils + kDemoStaff << "人（児童 "
            << kDemoPupils << "人、職員 " << kDemoStaff << "人）、図書 " << kDemoBooks << "冊（"
            << kDemoTitles << "タイトル）: " << args[0] << "\n";
        return kExitDone;
    });
}

}  // namespace kashidashi::admin
