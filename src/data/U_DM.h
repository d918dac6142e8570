// The data module: one instance for the whole run, created right after the
// main window. It owns the two engine sessions and databases, the table and
// query objects that several windows share, the program-wide settings, and
// the computed fields of books.
//
//   DBSession1 "BBB"  the data database's session; SetPath makes it local or
//                     remote. DBDatabase1 "AAA" is the data database.
//   DBSession2 "WBBB" always local. DBDatabase2 "WWW" is the settings database
//                     in ProgramFolder.
//
// Table and query objects are closed when idle: each user opens what it needs
// and closes it again. Created by TDM::Create(), reached through TDM::Instance().
//
// The data database's tables carry persistent fields with the display labels
// and formats the lists show (BOOK_ID "000000#", kakaku "#", dates
// "yyyy/mm/dd"); Head and RegTB make one field per column. rptHead offers the
// head row to the reports and leaves Head open after a report.
#pragma once

#include <memory>
#include <string>

#include "data/data_source.h"
#include "data/report_rows.h"
#include "engine/dataset/query.h"
#include "engine/dataset/table.h"
#include "engine/session/database.h"
#include "engine/session/session.h"

namespace kashidashi {

// Program-wide settings, shared by every window for the whole run.
struct ProgramSettings {
    std::string ProgramFolder;
    std::string DataFolder;
    int ServerMode = 0;  // 1 client/server, anything else local
    std::string ServerUserName;
    std::string ServerPassword;
    std::string ServerHostName;
    int ServerPort = 12005;
    std::string ServerDatabaseName;
    int UserNumberMode = 0;   // 4 pupil number, 5 fixed number
    int IsbnLendingMode = 0;  // 0 allowed, 1 not allowed
    std::string ProductCode;
};

class TDM {
  public:
    // The engine's private folder for its temporary files.
    static constexpr const char* kPrivateDir = "C:\\$$\\pkv\\";

    static TDM& Create();    // the single instance; runs DataModuleCreate
    static TDM& Instance();  // after Create
    static void Destroy();   // at program end (and between tests)

    ProgramSettings settings;

    engine::TDBSession DBSession1{"BBB"};
    engine::TDBSession DBSession2{"WBBB"};
    engine::TDBDatabase DBDatabase1{"AAA", DBSession1};
    engine::TDBDatabase DBDatabase2{"WWW", DBSession2};

    // Settings database.
    engine::TDBTable Head;      // "head"; start-up points it at ProgramFolder
    engine::TDBTable RegistTB;  // "Regist"
    // Data database.
    engine::TDBTable RegTB;  // "Reg", in ID order
    engine::TDBTable NDC;
    engine::TDBTable HKN;
    engine::TDBTable NAME;
    engine::TDBTable BOOK;  // with the computed fields ISBN2, Pkintai, Phaiki
    engine::TDBTable KASHIBO;
    engine::TDBTable YOYAKU;
    engine::TDBQuery YoyakuFindQry;
    engine::TDBQuery YoyakuDELQry;
    engine::TDBQuery AQry;
    engine::TDBQuery Aqry2;

    // The sources through which controls show the shared tables.
    TDataSource NDCDS{&NDC};
    TDataSource HKNDS{&HKN};
    TDataSource YoyakuDS{&YOYAKU};
    TDataSource RegDS{&RegTB};

    // The report dataset over Head.
    TReportRows rptHead{"rptHead", Head};

    // Fills ISBN2, Pkintai and Phaiki of the current book row.
    static void BOOKCalcFields(engine::TDataSet& book);

  private:
    TDM();
    void DataModuleCreate();
    void SetUpSessions();
    void SetUpTables();
    void SetUpQueries();
    void DeclareFields();
};

// Puts a data set of a window on the data database: database "AAA" of the
// session "BBB", where the data module's own tables and queries are.
void OnDataDatabase(engine::TDBDataSet& dataSet);

}  // namespace kashidashi
