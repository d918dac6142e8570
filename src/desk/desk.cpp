#include "desk/desk.h"

#include "data/U_DM.h"
#include "desk/desk_return.h"
#include "engine/dataset/field.h"

namespace kashidashi::desk {
namespace {

void DeclarePickList(engine::TDBTable& table) {
    table.SetSessionName("WBBB");
    table.SetDatabaseName("WWW");
    table.SetTableName("WK01");
    table.SetExclusive(true);
    table.AddField<engine::TIntegerField>("BOOK_ID").SetDisplayLabel("図書番号");
    table.AddField<engine::TStringField>("syomei", 30).SetDisplayLabel("書名");
    table.FieldByName("BOOK_ID").DisplayFormat = "000000#";
}

void DeclareUnreturned(engine::TDBQuery& query) {
    OnDataDatabase(query);
    query.SQL().Add("Select book_ID,syomei2,henkyakuyotei");
    query.SQL().Add("    From Book, kashibo");
    query.SQL().Add(
        "    where kashibo.kashidashiF=\"1\" and  kashibo.Book_ID=book.book_ID and "
        "kashibo.NAME_ID= :PM1");
    query.AddField<engine::TIntegerField>("book_ID").SetDisplayLabel("登録番号");
    query.AddField<engine::TStringField>("syomei2", 60).SetDisplayLabel("書　　名");
    query.AddField<engine::TDateField>("henkyakuyotei").SetDisplayLabel("返却予定日");
    query.FieldByName("book_ID").DisplayFormat = "000000#";
    query.FieldByName("henkyakuyotei").DisplayFormat = "yyyy/mm/dd";
}

}  // namespace

Desk::Desk(QWidget* owner) : owner_(owner) {
    DeclarePickList(WKT01);
    DeclareUnreturned(Query2);
    DeclareReturnQueries(Query1, DelQry);
    DeclareReservationDataSets();
}

Desk::~Desk() = default;

void Desk::Focus(DeskEdit edit) {
    bool entering = edit != state.focus;
    state.focus = edit;
    // Entering the user field starts a new user: the pick list empties.
    if (entering && edit == DeskEdit::Edit3) EmptyPickList();
}

void Desk::FieldEntered(DeskEdit edit) {
    Focus(edit);
}

void Desk::EmptyPickList() {
    WKT01.Close();
    WKT01.EmptyTable();
    WKT01.Open();
    state.Text(DeskEdit::Edit3).clear();
    state.CurrentUserId.clear();
}

void Desk::ShowUnreturned(const std::string& fixedNumber) {
    Query2.Close();
    Query2.ParamByName("PM1").SetAsString(fixedNumber);
    Query2.Open();
}

void Desk::LendingOptionClicked() {
    Focus(state.Text(DeskEdit::Edit3).empty() ? DeskEdit::Edit3 : DeskEdit::Edit4);
}

void Desk::ReturnModeClicked() {
    Focus(DeskEdit::Edit5);
}

}  // namespace kashidashi::desk
