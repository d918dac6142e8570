// The loan list and the return list of a period (Button3, Button4): the
// list's statement, the period asked in the date range dialog, the title and
// period texts of the printed list, and the list shown.
#include <QString>
#include <string_view>

#include "data/U_DM.h"
#include "data/field_specs.h"
#include "desk/U_SetRenge1.h"
#include "desk/desk.h"
#include "desk/desk_prints.h"
#include "desk/desk_reservation.h"
#include "desk/desk_windows.h"
#include "engine/common/dates.h"
#include "engine/common/value_convert.h"
#include "widgets/dataset_closer.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kUserNumber = "利用者番号";
constexpr const char* kSelect =
    "Select Name.name_ID, Name.seito_No,Name.name, kashibo.*, BOOK.syomei2,Book.NDC_ID From "
    "kashibo Left Join Book On kashibo.BOOK_ID=BOOK.BOOK_ID Left Join Name On "
    "kashibo.name_ID=NAME.name_ID where ";
constexpr const char* kLoansIn = "kashidashibi>=:PM1 and kashidashibi<=:PM2";
constexpr const char* kReturnsIn = "henkyakubi>=:PM1 and henkyakubi<=:PM2";
constexpr const char* kOrder = " Order By  SeitoNo,  henkyakubi ";

bool SameName(std::string_view a, std::string_view b) {
    return QString::fromUtf8(a.data(), static_cast<int>(a.size()))
               .compare(QString::fromUtf8(b.data(), static_cast<int>(b.size())),
                        Qt::CaseInsensitive) == 0;
}

// The loan record's own NAME_ID: the last result column of that name (the
// first is the user's, empty when the user is gone from Name).
std::string LoanFixedNumber(const engine::TDataSet& list) {
    const auto& columns = list.Columns();
    for (size_t i = columns.size(); i-- > 0;)
        if (SameName(columns[i].name, "NAME_ID"))
            return engine::ValueText(list.ColumnValue(static_cast<int>(i)));
    return {};
}

// UserNumberMode 4: the pupil number stored with the loan; 5: the loan's
// fixed number. A number that is not a whole number leaves the field empty.
void PeriodListUserNumber(engine::TDataSet& list) {
    std::string number;
    if (TDM::Instance().settings.UserNumberMode == 4)
        number = list.FieldByName("seitoNo").AsString();
    if (TDM::Instance().settings.UserNumberMode == 5) number = LoanFixedNumber(list);
    const int64_t value = WholeNumberOr(number, -1);
    if (value >= 0) list.FieldByName(kUserNumber).SetAsInteger(value);
}

}  // namespace

void DeclarePeriodList(engine::TDBQuery& list) {
    using engine::FieldType;
    OnDataDatabase(list);
    AddFields(list, {{"name_ID", FieldType::String, 6, "固定番号"},
                     {"seito_No", FieldType::String, 5, "生徒番号"},
                     {"name", FieldType::String, 20, "名前"},
                     {"BOOK_ID", FieldType::Integer, 0, "図書番号", "0000000"},
                     {"henkyakuyotei", FieldType::Date, 0, "返却予定日", "yyyy/mm/dd"},
                     {"kashidashiF", FieldType::String, 1, "貸出"},
                     {"seitoNo", FieldType::String, 5, "生徒番号"},
                     {"kashidashibi", FieldType::Date, 0, "貸出日", "yyyy/mm/dd"},
                     {"henkyakubi", FieldType::Date, 0, "返却日", "yyyy/mm/dd"},
                     {"ISBN_ID", FieldType::String, 15},
                     {"syomei2", FieldType::String, 60, "書名"},
                     {"NDC_ID", FieldType::Float, 0, "NDCコード"}});
    engine::TField& number =
        AddField(list, {kUserNumber, FieldType::Integer, 0, kUserNumber, "00000"});
    number.fieldKind = engine::FieldKind::fkCalculated;
    list.OnCalcFields = &PeriodListUserNumber;
}

std::string PeriodListStatement(bool returns) {
    return std::string(kSelect) + (returns ? kReturnsIn : kLoansIn) + kOrder;
}

void Desk::SetPeriodListStatement(bool returns) {
    kashidashiQry.Close();
    kashidashiQry.SQL().Clear();
    kashidashiQry.SQL().Add(PeriodListStatement(returns));
}

void Desk::PeriodList(bool returns) {
    SetPeriodListStatement(returns);
    TSetRenge1& range = DeskWindows::SetRenge1();
    if (!range.Execute()) return;
    state.memo_title = returns ? "返却図書一覧表 " : "貸出図書一覧表 ";
    state.memo_hani = std::string(returns ? "返却期日 " : "貸出期日 ") + range.RangeStartText +
                      " ～ " + range.RangeEndText;
    const std::optional<engine::Date> start = engine::ParseDate(range.RangeStartText);
    const std::optional<engine::Date> end = engine::ParseDate(range.RangeEndText);
    if (!start || !end) return;  // the dialog's pickers always give dates
    kashidashiQry.ParamByName("PM1").SetAsDate(*start);
    kashidashiQry.ParamByName("PM2").SetAsDate(*end);
    DataSetCloser closer(kashidashiQry);
    ShowPeriodList(state.memo_title, state.memo_hani);
}

void Desk::ShowPeriodList(const std::string& title, const std::string& range) {
    ShowPeriodListReport(owner_, kashidashiQry, title, range);
}

}  // namespace kashidashi::desk
