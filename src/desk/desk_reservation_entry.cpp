// The tab 予約: the book entry (Enter in Edit11) shows the book and its
// queue; the user entry (Enter in Edit8) takes the reservation in one
// transaction of the data database.
//
// The reservation goes to the book that the book entry found (never to
// whatever Edit11 holds by then), numbered 1 + the highest yoyaku_No of
// that book number.
#include <QString>

#include "data/U_DM.h"
#include "desk/desk.h"
#include "desk/desk_reservation.h"
#include "desk/reservation_rules.h"
#include "engine/common/dates.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kNoBook = "該当図書がありません。";
constexpr const char* kNoPupil = "該当する生徒はいません。";
constexpr const char* kReserved = "予約が完了しました。";
constexpr const char* kNotReserved = "正常に予約が出来ませんでした。";

void Tell(QWidget* owner, const char* text) {
    Dialogs::Information(owner, QString::fromUtf8(text));
}

void CloseQuietly(engine::TDataSet& dataSet) {
    try {
        dataSet.Close();
    } catch (...) {
    }
}

// YOYAKU filtered to one book number and open while the reservation is
// taken, as the desk always held it (a hold of the table refuses the
// reservation); closed and unfiltered again however the reservation ends.
class FilteredReservations {
  public:
    explicit FilteredReservations(int64_t bookId) : yoyaku_(TDM::Instance().YOYAKU) {
        yoyaku_.Close();
        yoyaku_.SetIndexName("");
        yoyaku_.SetFilter("Book_ID=" + std::to_string(bookId));
        yoyaku_.SetFiltered(true);
        yoyaku_.Open();
    }
    ~FilteredReservations() {
        CloseQuietly(yoyaku_);  // drops an unposted row
        yoyaku_.SetFiltered(false);
        yoyaku_.SetFilter("");
    }
    FilteredReservations(const FilteredReservations&) = delete;
    FilteredReservations& operator=(const FilteredReservations&) = delete;

  private:
    engine::TDBTable& yoyaku_;
};

}  // namespace

void Desk::ReservationBookEntry() {
    std::string& edit11 = state.Text(DeskEdit::Edit11);
    const std::string typed = edit11;
    edit11.clear();
    state.reservationBookId.reset();
    state.reservationIsbn.clear();
    auto entry = BookEntryOf(BookField::Edit11, typed, TDM::Instance().settings.IsbnLendingMode);
    int64_t number = 0;
    if (auto* isbn = std::get_if<IsbnKey>(&entry)) {
        std::optional<int64_t> found = FindBookByIsbn(isbn->isbn12, false);
        if (!found) return Tell(owner_, kUnknownReservationIsbn);
        number = *found;
    } else if (auto* book = std::get_if<BookNumber>(&entry)) {
        number = book->number;
    }
    state.CurrentBookId = number;
    ShowReservations(number);
    auto& book = TDM::Instance().BOOK;
    DataSetCloser closer(book);
    book.Open();
    if (std::holds_alternative<NoBook>(entry) || !book.FindKey({engine::Value(number)})) {
        state.Text(DeskEdit::Edit15).clear();
        yoyakuQry.Close();
        return Tell(owner_, kNoBook);
    }
    edit11 = BookNumberText(number);
    state.Text(DeskEdit::Edit15) = book.FieldByName("syomei2").AsString();
    state.reservationBookId = number;
    state.reservationIsbn = state.CurrentIsbn;
    Focus(DeskEdit::Edit8);
}

void Desk::TakeReservation() {
    if (state.Text(DeskEdit::Edit11).empty() || !state.reservationBookId) return;
    const int64_t bookId = *state.reservationBookId;
    yoyakuQry.Close();
    bool stored = false;
    {
        FilteredReservations reservations(bookId);
        std::string number = UserNumber(state.Text(DeskEdit::Edit8));
        state.Text(DeskEdit::Edit8).clear();
        if (UserKeyOf(number) == UserKey::None) return ReopenReservations();
        if (!FindReservingUser(number)) {
            Tell(owner_, kNoPupil);
            return ReopenReservations();
        }
        stored = TryStoreReservation();
    }
    if (stored) {
        Tell(owner_, kReserved);
        state.Text(DeskEdit::Edit8).clear();
        Focus(DeskEdit::Edit11);
    }
    state.CurrentBookId = bookId;
    ShowReservations(bookId);
}

// False, with everything rolled back and the operator told, when storing failed.
bool Desk::TryStoreReservation() {
    auto& dm = TDM::Instance();
    try {
        StoreReservation();
        return true;
    } catch (const std::exception&) {
        CloseQuietly(dm.YOYAKU);  // drops an unposted row and its lock
        CloseQuietly(dm.BOOK);
        if (dm.DBDatabase1.InTransaction()) dm.DBDatabase1.Rollback();
        Tell(owner_, kNotReserved);
        return false;
    }
}

// The user of a pupil number (5 digits) or a fixed number (6 digits) into
// Edit10 (name), Edit13 (pupil number) and Edit8 (fixed number).
bool Desk::FindReservingUser(const std::string& number) {
    auto& name = TDM::Instance().NAME;
    DataSetCloser closer(name);
    name.Close();
    name.SetIndexFieldNames(UserKeyOf(number) == UserKey::PupilNumber ? "seito_No" : "NAME_ID");
    name.Open();
    if (!name.FindKey({engine::Value(number)})) return false;
    state.Text(DeskEdit::Edit10) = name.FieldByName("NAME").AsString();
    state.Text(DeskEdit::Edit13) = name.FieldByName("seito_No").AsString();
    state.Text(DeskEdit::Edit8) = name.FieldByName("NAME_ID").AsString();
    return true;
}

// In one transaction: the row after the book's last reservation, and the
// book marked reserved (reservation_rules.h).
void Desk::StoreReservation() {
    auto& dm = TDM::Instance();
    dm.DBDatabase1.StartTransaction();
    AppendReservation(
        dm.DBDatabase1.Connection(), dm.DBDatabase1.Session(), *state.reservationBookId,
        state.reservationIsbn,
        {state.Text(DeskEdit::Edit8), state.Text(DeskEdit::Edit13), state.Text(DeskEdit::Edit10)});
    dm.DBDatabase1.Commit(true);
}

}  // namespace kashidashi::desk
