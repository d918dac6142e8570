// The reservation lists of the desk: yoyakuQry, built at run time from one
// base text with a condition and an order, shown by DBGrid5 (the reserved
// book's queue) and DBGrid6 (the lists of 予約状況); and the memo stored
// from DBGrid5.
#include "desk/desk_reservation.h"
#include "data/U_DM.h"
#include "data/field_specs.h"
#include "desk/desk.h"
#include "widgets/dataset_closer.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kUserNumber = "利用者番号";
constexpr const char* kBaseText =
    "Select yoyaku.* , Book.syomei2 , kashibo.* from yoyaku Left Join Book On "
    "yoyaku.Book_ID=Book.Book_ID Left Join kashibo On yoyaku.Book_ID=kashibo.Book_ID and "
    "kashibo.kashidashiF=\"1\" ";

void DeclareReservationFields(engine::TDBQuery& query) {
    using engine::FieldType;
    AddFields(query, {{"Book_ID", FieldType::Integer, 0, "図書番号", "0000000"},
                      {"yoyaku_No", FieldType::Integer, 0, "予約番号"},
                      {"Name_ID", FieldType::String, 6, "利用者番号"},
                      {"Seito_No", FieldType::String, 5, "運用番号"},
                      {"Name", FieldType::String, 20, "予約者"},
                      {"yoyakubi", FieldType::Date, 0, "予約日", "yyyy/mm/dd"},
                      {"ISBN_ID", FieldType::String, 15},
                      {"yoyakuDTime", FieldType::DateTime, 0, "予約日時"},
                      {"Memo", FieldType::String, 40, "メモ"},
                      {"syomei2", FieldType::String, 60, "書名"},
                      {"kashidashiF", FieldType::String, 1, "貸出中"},
                      {"henkyakuyotei", FieldType::Date, 0, "返却予定日", "yyyy/mm/dd"}});
    AddCalculatedField(query, kUserNumber, 6, kUserNumber);
}

// The user number by UserNumberMode: 4 the pupil number, 5 the fixed number.
void ReservationUserNumber(engine::TDataSet& dataSet) {
    const char* source = nullptr;
    if (TDM::Instance().settings.UserNumberMode == 4) source = "Seito_No";
    if (TDM::Instance().settings.UserNumberMode == 5) source = "Name_ID";
    dataSet.FieldByName(kUserNumber)
        .SetAsString(source ? dataSet.FieldByName(source).AsString() : std::string());
}

}  // namespace

void Desk::DeclareReservationDataSets() {
    for (engine::TDBQuery* query : {&yoyakuQry, &UpdateQry}) {
        OnDataDatabase(*query);
    }
    DeclareReservationFields(yoyakuQry);
    // A private copy: rows are never added through the grids.
    yoyakuQry.BeforeInsert = [](engine::TDataSet&) { return false; };
    yoyakuQry.OnCalcFields = &ReservationUserNumber;
    UpdateQry.SQL().Add("Update Yoyaku Set Memo = :PM1");
    UpdateQry.SQL().Add(" Where Book_ID = :PM2 and Yoyaku_No = :PM3");
    DeclarePeriodList(kashidashiQry);
    DeclareOnLoanCheck(kakuninQry, kakuninQry2);
}

// The reservations of the book and of every copy of its title.
void Desk::ShowReservations(int64_t bookId) {
    auto& book = TDM::Instance().BOOK;
    {
        DataSetCloser closer(book);
        book.Open();
        state.CurrentIsbn = book.FindKey({engine::Value(bookId)})
                                ? book.FieldByName("ISBN").AsString().substr(0, 12)
                                : std::string();
    }
    SetReservationStatement(" where yoyaku.Book_ID=:PM1 or (ISBN_ID is Not Null and ISBN_ID=:PM2) ",
                            " Order By yoyakuDTime");
    yoyakuQry.ParamByName("PM1").SetAsInteger(bookId);
    yoyakuQry.ParamByName("PM2").SetAsString(state.CurrentIsbn);
    yoyakuQry.Open();
}

// yoyakuQry closed, its statement the base text, the condition and the order.
void Desk::SetReservationStatement(const std::string& condition, const std::string& order) {
    yoyakuQry.Close();
    yoyakuQry.SQL().Clear();
    yoyakuQry.SQL().Add(kBaseText + condition + order);
}

// The list read again from its present statement, if it has one.
void Desk::ReopenReservations() {
    yoyakuQry.Close();
    if (yoyakuQry.SQL().Count() > 0) yoyakuQry.Open();
}

void Desk::SaveMemo() {
    if (!yoyakuQry.Active() || yoyakuQry.IsEmpty()) return;
    if (yoyakuQry.State() != engine::DataSetState::dsBrowse) yoyakuQry.Post();
    UpdateQry.ParamByName("PM1").SetAsString(yoyakuQry.FieldByName("Memo").AsString());
    UpdateQry.ParamByName("PM2").SetAsInteger(yoyakuQry.FieldByName("Book_ID").AsInteger());
    UpdateQry.ParamByName("PM3").SetAsInteger(yoyakuQry.FieldByName("yoyaku_No").AsInteger());
    UpdateQry.ExecSQL();
    ShowReservations(state.CurrentBookId);
}

}  // namespace kashidashi::desk
