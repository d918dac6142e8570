// A desk on disk: the demo school in the data folder "C:\Book\", a program
// folder whose head lends 3 books for 14 days, the start windows after the
// PIN, and the desk window opened through the main window's "実　　　行" with
// a test body driving it while it is shown.
//
// With KX_ENGINE_BACKEND=server the demo school is on a new database of the
// test server instead (engine/pg_test_server.h) and the desk starts in
// client/server mode; dataFolder is then that database's server:// address,
// which RunSql, DataValue and DataQuery take as they take a folder. The
// suites that hold for both run once more so (tests/gui_tests.cmake).
#pragma once

#include <QLineEdit>
#include <functional>
#include <string>

#include <memory>

#include "desk/U_Fgyoumu1.h"
#include "engine/pg_test_server.h"
#include "support/app_fixture.h"

namespace desk_test {

using namespace kx_test;
using kashidashi::Dialogs;
using kashidashi::TFgyoumu1;
using kashidashi::desk::DeskEdit;

class DeskFixture : public AppFixture {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Whether SetUp stopped the test (no server where one was asked for).
    bool Stopped() { return IsSkipped() || HasFatalFailure(); }
    // The test server's database the demo school is on; nullptr on a folder.
    const engine::testing::ScratchDatabase* Server() const { return server_.get(); }

    // Opens the desk through the main window and runs `body` on it.
    void OpenDesk(const std::function<void(TFgyoumu1&)>& body);
    // Serves user 10101 and scans the unknown book number 99999, answering
    // the question of the quick registration Yes and driving its window with
    // `drive`; `after` runs on the desk once the window has closed.
    void Register(const std::function<void(QDialog&)>& drive,
                  const std::function<void(TFgyoumu1&)>& after = {});
    // The reader scans a code into a field: focus, text, Enter.
    static void Scan(TFgyoumu1& desk, const char* edit, const QString& text);
    static QString Text(TFgyoumu1& desk, const char* edit);
    // One value of the demo school, by a statement of one row and one column.
    engine::Value DataValue(const std::string& select);
    // The fixed number (NAME_ID) of the user with this pupil number.
    std::string FixedNumber(const std::string& pupil);
    // Books 1 to 20 become plain books on the shelf, registered long ago
    // (the demo school has new, forbidden and discarded ones among them).
    void MakePlainBooks();
    // The number of rows a statement of the data folder gives.
    int64_t RowCount(const std::string& select);

    std::string dataFolder;

  private:
    // Makes the scratch database and points dataFolder at it; the head
    // values that start the desk on it.
    Values UseServer();
    std::unique_ptr<engine::testing::ScratchDatabase> server_;
};

}  // namespace desk_test
