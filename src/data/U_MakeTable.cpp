#include "data/U_MakeTable.h"

#include <utility>
#include <vector>

#include "data/pin_constants.h"
#include "data/schema.h"
#include "engine/common/dates.h"

namespace kashidashi {
namespace {

// The declared width of meisyou in head layouts older than the current one.
constexpr int kNarrowMeisyouSize = 30;

// The eleven values a new head row gets; the other columns stay as they are.
std::vector<std::pair<const char*, engine::Value>> NewHeadRowValues() {
    const engine::Date today = engine::Today();
    return {{"PM1", 5},
            {"PM5", kDefaultPin},
            {"nendo", SchoolYearOf(today)},
            {"date1", today},
            {"date2", today},
            {"kashisuu", 5},
            {"UserName", "Admin"},
            {"UserPW", "PqRelay"},
            {"portNo", 12005},
            {"DataBaseName", "Book"},
            // A full-width blank, so that the row no longer reads as empty.
            {"meisyou", "\u3000"}};
}

void Prepare(engine::TDBDataSet& dataSet, const std::string& database, const std::string& session) {
    dataSet.SetSessionName(session);
    dataSet.SetDatabaseName(database);
}

}  // namespace

int SchoolYearOf(engine::Date day) {
    const engine::CivilDate civil = engine::ToCivil(day);
    return civil.month < 4 ? civil.year - 1 : civil.year;
}

TMakeTable::TMakeTable(const std::string& databaseName, const std::string& sessionName) {
    for (engine::TDBDataSet* dataSet :
         std::vector<engine::TDBDataSet*>{&MakeHeadQry, &headTB, &HeadTBtemp, &DBQuery1}) {
        Prepare(*dataSet, databaseName, sessionName);
    }
    MakeHeadQry.SQL().SetText(SettingsTablesScript());
    headTB.SetTableName(kHeadTable);
    HeadTBtemp.SetTableName(kHeadCopyTable);
}

void TMakeTable::MakeSettingsTables() {
    FinishInterruptedRebuild();
    MakeHeadQry.ExecSQL();
    FillEmptyHeadRow();
    if (HeadLacks("PM8")) AddPm8ToPm10();
    if (HeadLacks("PathName3")) AddPathName3And4();
    headTB.Close();
    headTB.Open();
    const engine::TField& first = headTB.Fields(0);
    if (first.DataType() == engine::FieldType::String && first.Size() == kNarrowMeisyouSize) {
        RebuildNarrowHead();
    }
    headTB.Close();
}

// A rebuild that stopped after deleting Head left the copy as Head$$: finish
// it, or the creation script would make an empty head and lose the settings.
void TMakeTable::FinishInterruptedRebuild() {
    HeadTBtemp.SetTableName(kHeadCopyTable);
    if (headTB.Exists() || !HeadTBtemp.Exists()) return;
    HeadTBtemp.RenameTable(kHeadTable);
    HeadTBtemp.SetTableName(kHeadCopyTable);
}

void TMakeTable::FillEmptyHeadRow() {
    headTB.Close();
    headTB.Open();
    if (!headTB.FieldByName("meisyou").AsString().empty()) return;
    if (headTB.IsEmpty()) {
        headTB.Append();
    } else {
        headTB.Edit();
    }
    for (const auto& [column, value] : NewHeadRowValues()) {
        headTB.FieldByName(column).SetValue(value);
    }
    headTB.Post();
}

// Reopens head; true (and head closed) when it has no such column.
bool TMakeTable::HeadLacks(const char* column) {
    headTB.Close();
    headTB.Open();
    if (headTB.FindField(column) != nullptr) return false;
    headTB.Close();
    return true;
}

void TMakeTable::RunStatement(const std::string& text) {
    DBQuery1.Close();
    DBQuery1.SQL().Clear();
    DBQuery1.SQL().Add(text);
    DBQuery1.ExecSQL();
}

void TMakeTable::AddPm8ToPm10() {
    RunStatement("Alter Table Head Add PM8 INTEGER,Add PM9 INTEGER,Add PM10 INTEGER");
}

void TMakeTable::AddPathName3And4() {
    RunStatement("Alter Table Head Add PathName3 Char(60),Add PathName4 Char(60)");
}

void TMakeTable::RebuildNarrowHead() {
    headTB.Close();
    RunStatement(HeadLayoutScript(kHeadCopyTable));
    HeadTBtemp.SetTableName(kHeadCopyTable);
    // Left over from a rebuild that stopped before deleting Head, the copy may
    // hold rows already; they would be copied twice.
    HeadTBtemp.EmptyTable();
    ReplaceTableByCopy(headTB, HeadTBtemp);
    HeadTBtemp.SetTableName(kHeadCopyTable);
}

}  // namespace kashidashi
