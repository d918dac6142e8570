#include "support/app_fixture.h"

#include <stdlib.h>

#include <unistd.h>
#include <sstream>

#include <QCoreApplication>

#include "data/U_MakeTable.h"
#include "data/schema.h"
#include "engine/dataset/query.h"
#include "engine/dataset/table.h"
#include "engine/session/data_location.h"
#include "engine/session/session.h"
#include "platform/paths.h"
#include "tools/admin_commands.h"

namespace kx_test {
namespace {

constexpr const char* kSetupSession = "KxAppTestSetup";

std::filesystem::path MakeTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kx-app-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

Values RowOf(engine::TDataSet& table) {
    Values values;
    for (int i = 0; i < table.FieldCount(); ++i)
        values[table.Fields(i).FieldName()] = table.Fields(i).GetValue();
    return values;
}

bool IsServer(const std::string& location) {
    return location.rfind("server://", 0) == 0;
}

}  // namespace

DataQuery::DataQuery(const std::string& sessionName, const std::string& location)
    : session_(sessionName) {
    query_.SetSessionName(sessionName);
    if (!IsServer(location)) {
        query_.SetDatabaseName(location);
        return;
    }
    database_ = std::make_unique<engine::TDBDatabase>("KX_TEST_DATA", session_);
    engine::PointAt(session_, *database_, engine::RequireLocation(location));
    query_.SetDatabaseName("KX_TEST_DATA");
}

void AppFixture::SetUp() {
    root = MakeTempFolder();
    programFolder = (root / "program").string();
    driveRoot = (root / "drives").string();
    std::filesystem::create_directories(programFolder);
    std::filesystem::create_directories(driveRoot);
    previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(programFolder);
    setenv("KASHIDASHI_DRIVE_ROOT", driveRoot.c_str(), 1);
    setenv("KASHIDASHI_OPENER", "/bin/true", 1);
}

void AppFixture::TearDown() {
    if (root.empty()) return;  // skipped before the desk was made
    windows.reset();
    dialogs.reset();
    kashidashi::TMain2::SetUpdateHooks({});
    std::filesystem::current_path(previousFolder);
    unsetenv("KASHIDASHI_DRIVE_ROOT");
    unsetenv("KASHIDASHI_OPENER");
    std::error_code ignored;
    std::filesystem::permissions(root, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(root, ignored);
}

std::string AppFixture::DriveFolder(const std::string& drivePath) const {
    return platform::MapToLocalPath(drivePath);
}

void AppFixture::MakeDemoFolder(const std::string& folder) {
    if (!IsServer(folder)) std::filesystem::create_directories(folder);
    std::ostringstream out, err;
    ASSERT_EQ(kashidashi::admin::CommandDemo({folder}, out, err), 0) << err.str();
}

void AppFixture::RunSql(const std::string& folder, const std::string& text) {
    DataQuery query(kSetupSession, folder);
    query->SQL().SetText(text);
    query->ExecSQL();
}

void AppFixture::MakeDataFolder(const std::string& folder, bool withRegRows) {
    std::filesystem::create_directories(folder);
    RunSql(folder, kashidashi::DataTablesScript());
    RunSql(folder, "INSERT INTO Reg (ID, A1, N1, N2) VALUES (1, 'first', 11, 12)");
    if (!withRegRows) return;
    RunSql(folder, "INSERT INTO Reg (ID, N1, N2) VALUES (2, 7, 1)");
    RunSql(folder, "INSERT INTO Reg (ID, N1) VALUES (10, 5)");
}

void AppFixture::PrepareHead(const Values& values) {
    engine::TDBSession session(kSetupSession);
    {
        kashidashi::TMakeTable makeTable(programFolder, kSetupSession);
        makeTable.MakeSettingsTables();
    }
    engine::TDBTable head;
    head.SetSessionName(kSetupSession);
    head.SetDatabaseName(programFolder);
    head.SetTableName("head");
    head.Open();
    head.First();
    head.Edit();
    for (const auto& [name, value] : values) head.FieldByName(name).SetValue(value);
    head.Post();
    head.Close();
}

Values AppFixture::HeadRow() {
    engine::TDBSession session(kSetupSession);
    engine::TDBTable head;
    head.SetSessionName(kSetupSession);
    head.SetDatabaseName(programFolder);
    head.SetTableName("head");
    head.Open();
    EXPECT_EQ(head.RecordCount(), 1);
    head.First();
    Values values = RowOf(head);
    head.Close();
    return values;
}

Values AppFixture::RegRow(const std::string& folder, int id) {
    engine::TDBSession session(kSetupSession);
    engine::TDBTable reg;
    reg.SetSessionName(kSetupSession);
    reg.SetDatabaseName(folder);
    reg.SetTableName("Reg");
    reg.SetIndexFieldNames("ID");
    reg.Open();
    Values values = reg.FindKey({engine::Value(id)}) ? RowOf(reg) : Values{};
    reg.Close();
    return values;
}

bool AppFixture::HasColumn(const std::string& folder, const std::string& table,
                           const std::string& column) {
    return ColumnSize(folder, table, column) >= 0;
}

int AppFixture::ColumnSize(const std::string& folder, const std::string& table,
                           const std::string& column) {
    engine::TDBSession session(kSetupSession);
    engine::TDBTable t;
    t.SetSessionName(kSetupSession);
    t.SetDatabaseName(folder);
    t.SetTableName(table);
    t.Open();
    const engine::TField* field = t.FindField(column);
    const int size = field ? field->Size() : -1;
    t.Close();
    return size;
}

void AppFixture::Start() {
    windows = std::make_unique<kashidashi::StartWindows>();
    Main().show();
    Settle();
}

void AppFixture::Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

std::function<void(QDialog&)> EnterPin(const QString& pin) {
    return [pin](QDialog& window) {
        SetText(window, "Edit1", pin);
        Click(window, "BitBtn1");
    };
}

std::function<void(QDialog&)> NameSchool(const QString& name) {
    return [name](QDialog& window) {
        SetText(window, "DBEdit2", name);
        Click(window, "Button1");
    };
}

}  // namespace kx_test
