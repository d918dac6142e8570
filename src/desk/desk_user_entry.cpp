// The entries of the lending tab: the user entry of Edit3 and the control
// codes, and Enter dispatched by field.
#include <QString>

#include "data/U_DM.h"
#include "desk/U_Name_Search.h"
#include "desk/control_codes.h"
#include "desk/desk.h"
#include "engine/common/error.h"
#include "widgets/dialogs.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kNobody = "該当する人はいません。";
constexpr const char* kOtherDesk = "現在、他の場所で貸出処理をしていますので、お待ちください。";
constexpr const char* kCancelled = "貸出をキャンセルしました。";

void Tell(QWidget* owner, const char* text) {
    Dialogs::Information(owner, QString::fromUtf8(text));
}

bool IsConnectionLost(const std::exception& error) {
    auto* engineError = dynamic_cast<const engine::EngineError*>(&error);
    return engineError && engineError->code() == engine::err::kConnectionLost;
}

}  // namespace

void Desk::EnterPressed(DeskEdit edit) {
    switch (edit) {
        case DeskEdit::Edit3:
            UserEntry();
            break;
        case DeskEdit::Edit4:
            BookEntryKey();
            break;
        case DeskEdit::Edit5:
            ReturnEntryKey();
            break;
        case DeskEdit::Edit11:
            ReservationBookEntry();
            break;
        case DeskEdit::Edit8:
            TakeReservation();
            break;
        case DeskEdit::Edit12:
            UserReservations();
            break;
        case DeskEdit::Edit14:
            BookReservations();
            break;
        case DeskEdit::Edit20:
            OnLoanCheck();
            break;
        default:
            break;
    }
}

void Desk::UserEntry() {
    std::string& edit3 = state.Text(DeskEdit::Edit3);
    if (ControlCodeOf(edit3) == ControlCode::Return) {
        edit3.clear();
        SelectTab(kTabReturn);
        return;
    }
    std::string number = UserNumber(edit3);
    edit3 = number;
    if (number.empty()) return;
    auto& name = TDM::Instance().NAME;
    name.Close();
    // Other lengths name nobody: the digits stay, without a word.
    if (UserKeyOf(number) == UserKey::None) return;
    ReadWhatTheOpeningMissed();
    try {
        FindUser(number);
    } catch (const std::exception& error) {
        // A server that ended the connection is no desk to wait for: its
        // own message says what happened (the next entry connects afresh).
        if (IsConnectionLost(error))
            Dialogs::ShowEngineError(owner_, error);
        else
            Tell(owner_, kOtherDesk);
        name.Close();
    }
}

void Desk::FindUser(const std::string& number) {
    auto& name = TDM::Instance().NAME;
    bool pupil = UserKeyOf(number) == UserKey::PupilNumber;
    name.SetIndexFieldNames(pupil ? "seito_No" : "NAME_ID");
    std::string digits = number;
    EmptyPickList();
    state.Text(DeskEdit::Edit3) = digits;
    name.Open();
    if (!name.FindKey({engine::Value(digits)})) {
        Tell(owner_, kNobody);
        state.Text(DeskEdit::Edit3).clear();
        name.Close();
        return;
    }
    state.CurrentUserId = name.FieldByName("NAME_ID").AsString();
    state.Text(DeskEdit::Edit1) = name.FieldByName("seito_No").AsString();
    state.Text(DeskEdit::Edit3) = state.CurrentUserId;
    state.Text(DeskEdit::Edit6) = name.FieldByName("NAME").AsString();
    state.Text(DeskEdit::Edit7) = name.FieldByName("mihenkyakuSU").AsString();
    state.RunningLoanCount = static_cast<int>(name.FieldByName("mihenkyakuSU").AsInteger());
    state.focus = DeskEdit::Edit4;
    ShowUnreturned(state.CurrentUserId);
}

void Desk::NameSearch() {
    // Whatever way the search closes, its current row is the user entered.
    state.Text(DeskEdit::Edit3) = TName_Search::FindUser(owner_);
    UserEntry();
}

void Desk::ClearUser() {
    for (DeskEdit edit :
         {DeskEdit::Edit1, DeskEdit::Edit3, DeskEdit::Edit4, DeskEdit::Edit6, DeskEdit::Edit7})
        state.Text(edit).clear();
    state.CurrentUserId.clear();
}

void Desk::CancelUser() {
    ClearUser();
    state.focus = DeskEdit::None;  // so that Edit3 is entered anew
    Focus(DeskEdit::Edit3);
    TDM::Instance().KASHIBO.Close();
    TDM::Instance().NAME.Close();
    TDM::Instance().BOOK.Close();
    Query2.Close();
    Tell(owner_, kCancelled);
}

void Desk::ReturnEntryKey() {
    if (ControlCodeOf(state.Text(DeskEdit::Edit5)) == ControlCode::Lending) {
        state.Text(DeskEdit::Edit5).clear();
        SelectTab(kTabLending);
        return;
    }
    ReturnEntry();
}

}  // namespace kashidashi::desk
