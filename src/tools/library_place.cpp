#include "tools/library_place.h"

#include "engine/session/data_location.h"
#include "platform/paths.h"
#include "tools/data_folder.h"

namespace kashidashi::admin {

library::DataPlace RequirePlace(const std::string& text, bool fileAllowed) {
    std::string problem;
    auto location = engine::ParseLocation(text, problem);
    if (!location) throw AdminError(problem);
    if (location->server) {
        auto server = location->address;
        server.password = engine::ServerPassword(*location);
        return library::DataPlace::Server(server, text);
    }
    library::DataPlace place = location->backupFile
                                   ? library::DataPlace::BackupFile(location->folder)
                                   : library::DataPlace::Folder(location->folder);
    place.text = text;
    if (location->backupFile && !fileAllowed)
        throw AdminError("「" + text +
                         "」はファイルです。データフォルダかサーバを指定してください。");
    if (!location->backupFile && !platform::FolderExists(location->folder))
        throw AdminError("フォルダまたはファイル「" + text + "」がありません。");
    return place;
}

}  // namespace kashidashi::admin
