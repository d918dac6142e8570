// Picking a book for the current user: the book is searched and tested in a
// fixed order, and only a lendable book reaches the pick list.
#include <QString>

#include "catalogue/U_FBOOK2.h"
#include "data/U_DM.h"
#include "desk/U_Fgyoumu1_W2.h"
#include "desk/desk.h"
#include "desk/desk_windows.h"
#include "engine/common/dates.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kNewBook = "この本は新刊図書ですので、まだ貸出が出来ません。";
constexpr const char* kForbidden = "この本は「貸出禁止図書」です。";
constexpr const char* kDiscarded = "この本は「廃棄図書」です。";
constexpr const char* kOnLoan = "この本は現在、貸出中です。";
constexpr const char* kPicked = "既に選択しています。";
constexpr const char* kNotRegistered =
    "この図書はまだ図書登録が出来ていませんので、貸出が出来ません。";
constexpr const char* kAskQuickRegistration =
    "この番号の図書はありません。今すぐ簡易登録をしますか。";

// A book registered less than `days` days ago, counted from the start of its
// registration day to this moment.
bool IsNewBook(const engine::TField& registered, int days) {
    if (days <= 0 || registered.IsNull()) return false;
    auto since =
        engine::Now().msecs - engine::MakeDateTime(engine::DatePart(registered.AsDateTime())).msecs;
    return since < static_cast<int64_t>(days) * engine::kMsecsPerDay;
}

// Appends the book of that number, registered today, and lets the operator
// fill it in the quick registration window. On OK the pending row is stored
// (unless the window stored it) and true is returned; otherwise the row
// stays pending for the caller to drop.
bool RegisteredQuickly(QWidget* owner, engine::TDBTable& book, int64_t number) {
    book.Append();
    book.FieldByName("BOOK_ID").SetAsInteger(number);
    book.FieldByName("tourokubi").SetAsDateTime(engine::MakeDateTime(engine::Today()));
    TFBook2 window(owner);
    if (Dialogs::Exec(window) != QDialog::Accepted) return false;
    if (book.State() == engine::DataSetState::dsBrowse) return true;
    try {
        book.Post();
    } catch (...) {
        // Another desk registered the number meanwhile: the pending row goes,
        // the failure is shown by the caller, and later searches find theirs.
        book.Cancel();
        book.Close();
        throw;
    }
    return true;
}

}  // namespace

const char* Desk::RefusalOf(engine::TDBTable& book) {
    if (IsNewBook(book.FieldByName("tourokubi"), state.NewBookLockDays)) return kNewBook;
    if (book.FieldByName("kintaiF").AsBoolean()) return kForbidden;
    if (book.FieldByName("haikiF").AsBoolean()) return kDiscarded;
    if (book.FieldByName("kashidashiF").AsBoolean()) return kOnLoan;
    if (WKT01.FindKey({engine::Value(state.CurrentBookId)})) return kPicked;
    return nullptr;
}

// True when nobody else reserved the title first, or the operator chose to
// lend it anyway in the reservation list window.
bool Desk::ReservationAllows() {
    auto& find = Desk::OpenTitleReservations(state.CurrentBookId, state.CurrentIsbn);
    DataSetCloser closer(find);
    if (find.IsEmpty() || find.FieldByName("Name_ID").AsString() == state.CurrentUserId)
        return true;
    find.Close();
    if (Replay) {
        if (Note) Note("この図書は他の人が先に予約していますので、選択しませんでした。", true);
        return false;
    }
    return DeskWindows::Fgyoumu1_W2().ShowLendingForm(state.CurrentBookId, state.CurrentIsbn);
}

void Desk::PickBook(int64_t number) {
    auto& book = TDM::Instance().BOOK;
    book.Close();
    book.Open();
    if (!book.FindKey({engine::Value(number)})) return BookNotFound();
    state.CurrentBookId = book.FieldByName("BOOK_ID").AsInteger();
    state.CurrentIsbn = book.FieldByName("ISBN").AsString().substr(0, 12);
    if (const char* refusal = RefusalOf(book)) {
        Dialogs::Information(owner_, QString::fromUtf8(refusal));
    } else if (!ReservationAllows()) {
        book.Close();  // the number stays in Edit4
        return;
    } else {
        AddToPickList(book);
    }
    state.Text(DeskEdit::Edit4).clear();
    book.Close();
}

void Desk::AddToPickList(engine::TDBTable& book) {
    WKT01.Append();
    WKT01.FieldByName("BOOK_ID").SetAsInteger(state.CurrentBookId);
    WKT01.FieldByName("syomei").SetAsString(book.FieldByName("syomei2").AsString());
    WKT01.Post();
    ++state.RunningLoanCount;
    state.focus = DeskEdit::Edit4;
}

void Desk::BookNotFound() {
    auto& book = TDM::Instance().BOOK;
    if (state.QuickRegistrationOption == 1) {
        Dialogs::Information(owner_, QString::fromUtf8(kNotRegistered));
    } else if (Dialogs::Question(owner_, QString::fromUtf8(kAskQuickRegistration),
                                 Dialogs::Yes | Dialogs::No,
                                 Dialogs::Kind::Information) == Dialogs::Yes &&
               !Replay) {
        // Edit4 holds the number the book entry searched.
        const int64_t number = std::stoll(state.Text(DeskEdit::Edit4));
        if (RegisteredQuickly(owner_, book, number)) return PickBook(number);
    }
    state.Text(DeskEdit::Edit4).clear();
    book.Close();
}

}  // namespace kashidashi::desk
