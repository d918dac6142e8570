#include "library/backup/backup_setting.h"

#include <stdexcept>

#include "data/U_DM.h"
#include "platform/cp932.h"
#include "platform/paths.h"
#include "widgets/dataset_closer.h"

namespace kashidashi::library {
namespace {

constexpr const char* kColumn = "PathName2";

std::string HeadText(const char* column) {
    engine::TDBTable& head = TDM::Instance().Head;
    DataSetCloser closer(head);
    head.Open();
    head.First();
    return head.FieldByName(column).AsString();
}

void SetHeadFolder(const char* column, int bytes, const std::string& folder) {
    if (platform::NormaliseToCp932(folder) != folder)
        throw std::runtime_error("バックアップ先のフォルダ名に使えない文字があります: " + folder);
    if (platform::Cp932ByteLength(folder) > bytes)
        throw std::runtime_error("バックアップ先のフォルダ名が長すぎます（半角 " +
                                 std::to_string(bytes) + " 文字まで）。");
    engine::TDBTable& head = TDM::Instance().Head;
    DataSetCloser closer(head);
    head.Open();
    head.First();
    head.Edit();
    head.FieldByName(column).SetAsString(folder);
    head.Post();
}

}  // namespace

std::string BackupFolderSetting() {
    return HeadText(kColumn);
}

void SetBackupFolderSetting(const std::string& folder) {
    SetHeadFolder(kColumn, kBackupFolderBytes, folder);
}

std::string SecondBackupPlaceSetting() {
    return HeadText("PathName3");
}

void SetSecondBackupPlaceSetting(const std::string& folder) {
    SetHeadFolder("PathName3", kSecondPlaceBytes, folder);
}

std::string DeskSchoolName() {
    return HeadText("meisyou");
}

DataPlace DeskDataPlace() {
    const ProgramSettings& s = TDM::Instance().settings;
    if (s.ServerMode != 1) return DataPlace::Folder(platform::MapToLocalPath(s.DataFolder));
    engine::storage::ServerAddress server{s.ServerHostName, s.ServerPort, s.ServerUserName,
                                          s.ServerPassword, s.ServerDatabaseName};
    return DataPlace::Server(server);
}

}  // namespace kashidashi::library
