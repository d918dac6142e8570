// TMakeTable: the hidden holder of the settings-table scripts. It creates the
// settings tables of the desk's program folder when they are missing, fills
// a new or emptied head row with its defaults, and upgrades an older head.
//
//   MakeSettingsTables()  run once at every start, after the settings
//       database has been pointed at the program folder. Creates wk, Head,
//       Regist and WK01 when missing; writes the eleven new-row values when
//       the head row's meisyou is empty (or there is no row); adds PM8, PM9,
//       PM10 and PathName3, PathName4 to an older head; rebuilds a head whose
//       meisyou is 30 wide with the current layout. Changes nothing when the
//       tables are current. Engine errors go to the caller.
//   ReplaceTableByCopy(source, target)  both tables of one database, closed
//       on entry. Copies every row of source into target, column by column
//       matched by name through the text form; a row that cannot be copied is
//       skipped. Only when the copy is complete (rows copied plus rows skipped
//       equal the source's count, the target gained exactly the copied rows,
//       and at least one row was copied when there were any) is the source
//       deleted and the target renamed to the source's name. Otherwise the
//       source stays as it was and an error says so.
//
// The objects work on the database named at construction: "WWW" of session
// "WBBB" in the program, a folder path of the default session in tests.
#pragma once

#include <string>

#include "engine/common/value.h"
#include "engine/dataset/query.h"
#include "engine/dataset/table.h"

namespace kashidashi {

// The school year of a day: its year, or the year before from January to March.
int SchoolYearOf(engine::Date day);

class TMakeTable {
  public:
    static constexpr const char* kHeadTable = "Head";
    static constexpr const char* kHeadCopyTable = "Head$$";

    explicit TMakeTable(const std::string& databaseName = "WWW",
                        const std::string& sessionName = "WBBB");

    void MakeSettingsTables();
    static void ReplaceTableByCopy(engine::TDBTable& source, engine::TDBTable& target);

    engine::TDBQuery MakeHeadQry;  // the settings creation script
    engine::TDBTable headTB;       // "Head"
    engine::TDBTable HeadTBtemp;   // "Head$$", only during a rebuild
    engine::TDBQuery DBQuery1;     // the ALTER and CREATE statements of the upgrade

  private:
    void FinishInterruptedRebuild();
    void FillEmptyHeadRow();
    bool HeadLacks(const char* column);
    void RunStatement(const std::string& text);
    void AddPm8ToPm10();
    void AddPathName3And4();
    void RebuildNarrowHead();
};

}  // namespace kashidashi
