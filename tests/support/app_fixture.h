// A desk on disk for one test: a fresh program folder that is the working
// folder, a drive root of its own (so "C:\Book\" is a folder of this test),
// data folders made with the data tables, and the start windows created as
// the program entry creates them. Head and Reg rows are written and read back
// through the engine, as the program does.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/U_Main2.h"
#include "app/start_windows.h"
#include "data/U_DM.h"
#include "engine/common/value.h"
#include "engine/dataset/query.h"
#include "engine/session/database.h"
#include "engine/session/session.h"
#include "support/scripted_dialogs.h"

namespace kx_test {

using Values = std::map<std::string, engine::Value>;

// A query of the test's own, in a session of its own, on a data location:
// a folder, or a server database written server://USER@HOST:PORT/DATABASE
// (its password in KASHIDASHI_PASSWORD), as kashidashi-admin takes it.
class DataQuery {
  public:
    DataQuery(const std::string& sessionName, const std::string& location);
    engine::TDBQuery& operator*() { return query_; }
    engine::TDBQuery* operator->() { return &query_; }

  private:
    engine::TDBSession session_;
    std::unique_ptr<engine::TDBDatabase> database_;  // a server's
    engine::TDBQuery query_;
};

class AppFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The local folder of a drive path: "C:\Book\" -> <drive root>/drive_c/Book/.
    std::string DriveFolder(const std::string& drivePath) const;
    // Makes the folder with the data tables, and Reg rows 2 and 10 unless told.
    void MakeDataFolder(const std::string& folder, bool withRegRows = true);
    // Makes the folder (or fills the server database) with the demo school
    // of kashidashi-admin demo.
    void MakeDemoFolder(const std::string& folder);
    // Statements (";"-separated) on the tables of a folder or a server database.
    void RunSql(const std::string& folder, const std::string& text);
    // Creates the settings tables in the program folder as a start would,
    // then sets head columns.
    void PrepareHead(const Values& values);
    // Values of the single head row of the program folder, and of a Reg row.
    Values HeadRow();
    Values RegRow(const std::string& folder, int id);
    bool HasColumn(const std::string& folder, const std::string& table, const std::string& column);
    int ColumnSize(const std::string& folder, const std::string& table, const std::string& column);

    // Creates the start windows, shows the main window and lets start-up run.
    void Start();
    kashidashi::TMain2& Main() { return windows->Main2(); }
    kashidashi::ProgramSettings& Settings() { return kashidashi::TDM::Instance().settings; }
    // Lets queued events run (activations, the queued start-up).
    static void Settle();

    std::filesystem::path root;
    std::string programFolder;
    std::string driveRoot;
    std::filesystem::path previousFolder;
    std::unique_ptr<ScriptedDialogs> dialogs = std::make_unique<ScriptedDialogs>();
    std::unique_ptr<kashidashi::StartWindows> windows;
};

// Script steps used by many tests.
std::function<void(QDialog&)> EnterPin(const QString& pin);
std::function<void(QDialog&)> NameSchool(const QString& name);

}  // namespace kx_test
