// scans FOLDER FILE [--settings DIR]: replays a portable reader's stored
// scans through the desk's rules and operations on the data folder (or a
// server database, data_location.h, reached as the desk reaches it in
// client/server mode), with the desk settings and options of the settings
// database in DIR (default: the current folder, prepared as the desk
// prepares it).
#include <filesystem>

#include "data/U_DM.h"
#include "desk/scan_replay.h"
#include "engine/common/error.h"
#include "exchange/csv_file.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/data_folder.h"
#include "tools/replay_desk.h"

namespace kashidashi::admin {
namespace {

constexpr const char* kOtherDesk = "現在、他の場所で貸出処理をしていますので、お待ちください。";

void LoadSharedSettings() {
    auto& reg = TDM::Instance().RegTB;
    reg.Open();
    auto& settings = TDM::Instance().settings;
    settings.UserNumberMode =
        reg.FindKey({engine::Value(10)}) ? static_cast<int>(reg.FieldByName("N1").AsInteger()) : 4;
    settings.IsbnLendingMode =
        reg.FindKey({engine::Value(2)}) ? static_cast<int>(reg.FieldByName("N2").AsInteger()) : 0;
    reg.Close();
}

int Replay(const std::vector<std::string>& args, std::ostream& out) {
    std::string settings = std::filesystem::current_path().string();
    if (args.size() == 4) settings = std::filesystem::absolute(args[3]).string();
    auto scans = exchange::ParseScanFile(exchange::ReadFileText(args[1]));
    PrepareDesk(args[0], settings);
    LoadSharedSettings();
    try {
        return desk::ReplayScans(scans, out) ? kExitDone : kExitFailed;
    } catch (const engine::EngineError& error) {
        if (error.code() == engine::err::kTableLocked) throw AdminError(kOtherDesk);
        throw;
    }
}

}  // namespace

int CommandScans(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool withSettings = args.size() == 4 && args[2] == "--settings";
    size_t count = withSettings ? 4 : 2;
    int status = RunCommand(args, count, kScansUsage, err, [&] { return Replay(args, out); });
    TDM::Destroy();
    return status;
}

}  // namespace kashidashi::admin
