// A desk on disk: the demo school in the data folder "C:\Book\", a program
// folder whose head lends 3 books for 14 days, the start windows after the
// PIN, and the desk window opened through the main window's "実　　　行" with
// a test body driving it while it is shown.
#pragma once

#include <QLineEdit>
#include <functional>
#include <string>

#include "desk/U_Fgyoumu1.h"
#include "support/app_fixture.h"

namespace desk_test {

using namespace kx_test;
using kashidashi::Dialogs;
using kashidashi::TFgyoumu1;
using kashidashi::desk::DeskEdit;

class DeskFixture : public AppFixture {
  protected:
    void SetUp() override;

    // Opens the desk through the main window and runs `body` on it.
    void OpenDesk(const std::function<void(TFgyoumu1&)>& body);
    // The reader scans a code into a field: focus, text, Enter.
    static void Scan(TFgyoumu1& desk, const char* edit, const QString& text);
    static QString Text(TFgyoumu1& desk, const char* edit);
    // One value of the demo school, by a statement of one row and one column.
    engine::Value DataValue(const std::string& select);
    // Books 1 to 20 become plain books on the shelf, registered long ago
    // (the demo school has new, forbidden and discarded ones among them).
    void MakePlainBooks();
    // The number of rows a statement of the data folder gives.
    int64_t RowCount(const std::string& select);

    std::string dataFolder;
};

}  // namespace desk_test
