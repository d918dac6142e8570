#include "tools/replay_desk.h"

#include <filesystem>

#include "data/U_DM.h"
#include "data/U_MakeTable.h"
#include "engine/session/data_location.h"
#include "tools/data_folder.h"

namespace kashidashi::admin {
namespace {

// Session "BBB" and its database at the data folder, or remote at the server.
void PointAtData(TDM& dm, const std::string& dataFolder) {
    std::string problem;
    auto location = engine::ParseLocation(dataFolder, problem);
    if (!location) throw AdminError(problem);
    if (location->server) {
        engine::PointAt(dm.DBSession1, dm.DBDatabase1, *location);
        return;
    }
    if (!std::filesystem::is_directory(location->folder))
        throw AdminError("フォルダ「" + dataFolder + "」がありません。");
    dm.DBSession1.SetSessionType(engine::SessionType::stLocal);
    dm.DBDatabase1.SetDirectory(location->folder);
}

}  // namespace

void PrepareDesk(const std::string& dataFolder, const std::string& settings) {
    TDM& dm = TDM::Create();
    dm.settings.ProgramFolder = settings;
    dm.DBDatabase2.SetConnected(false);
    dm.DBDatabase2.SetDirectory(settings);
    TMakeTable().MakeSettingsTables();
    dm.Head.SetSessionName(dm.DBSession2.SessionName());
    dm.Head.SetDatabaseName(settings);
    PointAtData(dm, dataFolder);
}

}  // namespace kashidashi::admin
