// The tab 予約状況: the list modes of RadioGroup3 and the orders of
// RadioGroup4, the reservations of one user (Enter in Edit12) or of one book
// (Enter in Edit14), and the deletion of the current row's reservation.
#include <QString>

#include "data/U_DM.h"
#include "desk/desk.h"
#include "desk/desk_reservation.h"
#include "desk/reservation_rules.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kNobody = "該当者はいません";
constexpr const char* kNoReservation = "この図書は予約者がいません";
constexpr const char* kAskDelete = "ポインタ行の貸出予約を解消してもいいですか。";

// The orders of すべて表示する by RadioGroup4: 利用者別日付順, 図書別日付順, 日付順.
constexpr const char* kOrders[] = {" Order By Seito_No , yoyakuDTime",
                                   " Order By Book_ID , yoyakuDTime", " Order By yoyakuDTime"};

void Tell(QWidget* owner, const char* text) {
    Dialogs::Information(owner, QString::fromUtf8(text));
}

}  // namespace

void Desk::ListModeClicked() {
    state.panel5Visible = state.listMode == 0;
    state.panel6Visible = state.listMode == 1;
    state.panel8Visible = state.listMode == 2;
    if (state.listMode == 0) Focus(DeskEdit::Edit12);
    if (state.listMode == 1) Focus(DeskEdit::Edit14);
    if (state.listMode != 2) return;  // the list stays until a search
    const int order = state.listOrder >= 0 && state.listOrder <= 2 ? state.listOrder : 0;
    SetReservationStatement("", kOrders[order]);
    yoyakuQry.Open();
}

void Desk::UserReservations() {
    const std::string number = UserNumber(state.Text(DeskEdit::Edit12));
    state.Text(DeskEdit::Edit12).clear();
    if (number.empty()) return;
    const UserKey key = UserKeyOf(number);
    auto& name = TDM::Instance().NAME;
    {
        DataSetCloser closer(name);
        name.Close();
        name.SetIndexFieldNames(key == UserKey::PupilNumber ? "seito_No" : "NAME_ID");
        name.Open();
        if (key == UserKey::None || !name.FindKey({engine::Value(number)}))
            return Tell(owner_, kNobody);
    }
    // The number is digits only: quoting it cannot break the statement.
    const char* column = key == UserKey::PupilNumber ? "yoyaku.Seito_No" : "yoyaku.Name_ID";
    SetReservationStatement(std::string(" where ") + column + " = \"" + number + "\"",
                            " Order By yoyakuDTime");
    yoyakuQry.Open();
}

void Desk::BookReservations() {
    const std::string typed = state.Text(DeskEdit::Edit14);
    state.Text(DeskEdit::Edit14).clear();
    auto entry = BookEntryOf(BookField::Edit14, typed, TDM::Instance().settings.IsbnLendingMode);
    if (std::holds_alternative<NoBook>(entry)) return;
    int64_t number = 0;
    if (auto* isbn = std::get_if<IsbnKey>(&entry)) {
        std::optional<int64_t> found = FindBookByIsbn(isbn->isbn12, false);
        if (!found) return Tell(owner_, kUnknownReservationIsbn);
        number = *found;
    } else {
        number = std::get<BookNumber>(entry).number;
    }
    state.CurrentBookId = number;
    ShowReservations(number);
    if (yoyakuQry.IsEmpty()) Tell(owner_, kNoReservation);
}

void Desk::DeleteReservation() {
    if (!yoyakuQry.Active() || yoyakuQry.IsEmpty()) return;  // no row, nothing to delete
    if (Dialogs::Question(owner_, QString::fromUtf8(kAskDelete), Dialogs::Yes | Dialogs::No,
                          Dialogs::Kind::Warning) != Dialogs::Yes)
        return;
    RemoveReservations(TDM::Instance().DBDatabase1.Connection(),
                       yoyakuQry.FieldByName("Book_ID").AsInteger(),
                       yoyakuQry.FieldByName("Name_ID").AsString(), state.CurrentIsbn);
    ReopenReservations();
}

}  // namespace kashidashi::desk
