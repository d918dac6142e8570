// Lending the pick list: one loan row per book, the books marked lent, the
// user's count raised and the user's own reservations of those books
// fulfilled, all in one transaction of the data database, or nothing.
#include <QColor>
#include <QString>

#include "data/U_DM.h"
#include "data/utilities.h"
#include "desk/U_kakunin.h"
#include "desk/desk.h"
#include "desk/desk_windows.h"
#include "engine/common/dates.h"
#include "engine/common/error.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kUndone = "貸出処理が正常に出来ませんでしたので取り消します。";
constexpr int kFlashMs = 300;

// A failure of the lending itself, before anything is stored.
struct LendingRefused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace

void Desk::Lend() {
    if (state.LendingBusy) return;  // a second F1 while the flash waits
    state.LendingBusy = true;
    state.button1Enabled = false;
    // Whatever escapes the lending, the desk takes the next one.
    try {
        StoreAndConfirm();
    } catch (...) {
        EndLending();
        throw;
    }
    EndLending();
}

void Desk::StoreAndConfirm() {
    try {
        WriteLoans();
    } catch (const std::exception&) {
        UndoLending();
        return;
    }
    // What fails after the commit is shown as it is; the loans stand.
    try {
        AfterLending();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(owner_, error);
    }
}

// Rolled back before the message, so no other desk waits on it. Nothing of
// an uncommitted transaction is stored, so the lending is undone even when
// the rollback itself fails; that failure is shown after the message.
void Desk::UndoLending() {
    auto& dm = TDM::Instance();
    CloseQuietly({&dm.BOOK, &dm.NAME, &dm.KASHIBO, &dm.YOYAKU});
    std::exception_ptr rollbackFailure;
    try {
        if (dm.DBDatabase1.InTransaction()) dm.DBDatabase1.Rollback();
    } catch (...) {
        rollbackFailure = std::current_exception();
    }
    Dialogs::Information(owner_, QString::fromUtf8(kUndone));
    if (rollbackFailure) std::rethrow_exception(rollbackFailure);
}

void Desk::WriteLoans() {
    auto& dm = TDM::Instance();
    dm.NAME.Close();
    dm.NAME.SetIndexFieldNames("NAME_ID");
    dm.NAME.Open();
    dm.BOOK.Close();
    dm.BOOK.Open();
    dm.KASHIBO.Open();
    dm.DBDatabase1.StartTransaction();
    if (state.CurrentUserId.empty() || !dm.NAME.FindKey({engine::Value(state.CurrentUserId)}))
        throw LendingRefused("no user");
    if (WKT01.RecordCount() < 1) throw LendingRefused("no book picked");
    int lent = 0;
    for (WKT01.First(); !WKT01.Eof(); WKT01.Next(), ++lent) WriteLoan(dm.BOOK, dm.NAME);
    dm.DBDatabase1.Commit(true);
    state.LastLentCount = lent;
}

void Desk::WriteLoan(engine::TDBTable& book, engine::TDBTable& name) {
    auto& dm = TDM::Instance();
    int64_t number = WKT01.FieldByName("BOOK_ID").AsInteger();
    if (!book.FindKey({engine::Value(number)})) throw LendingRefused("book gone");
    // The row is locked and read as stored now: a book another desk lent
    // since it was picked is not lent twice.
    book.Edit();
    if (book.FieldByName("kashidashiF").AsBoolean()) throw LendingRefused("book lent meanwhile");
    std::string isbn = book.FieldByName("ISBN").AsString();
    if (isbn.size() == 13) isbn.resize(12);  // the loan keeps the ISBN without its check digit
    auto& loan = dm.KASHIBO;
    loan.Append();
    loan.FieldByName("BOOK_ID").SetAsInteger(number);
    loan.FieldByName("NAME_ID").SetAsString(state.CurrentUserId);
    loan.FieldByName("seitoNo").SetAsString(name.FieldByName("seito_No").AsString());
    loan.FieldByName("henkyakuyotei").SetValue(engine::Value(state.DueDate));
    loan.FieldByName("kashidashibi").SetValue(engine::Value(state.LoanDate));
    loan.FieldByName("kashidashiF").SetAsString("1");
    loan.FieldByName("ISBN_ID").SetAsString(isbn);
    loan.Post();
    name.Edit();
    book.FieldByName("kashidashiF").SetAsBoolean(true);
    name.FieldByName("mihenkyakuSU").SetAsInteger(name.FieldByName("mihenkyakuSU").AsInteger() + 1);
    auto& fulfil = dm.YoyakuDELQry;
    fulfil.ParamByName("PM1").SetAsInteger(number);
    fulfil.ParamByName("PM2").SetAsString(isbn.substr(0, 12));
    fulfil.ParamByName("PM3").SetAsString(state.CurrentUserId);
    fulfil.ExecSQL();
    auto& reservations = dm.YOYAKU;
    reservations.Close();
    reservations.SetFilter("Book_ID=" + std::to_string(number));
    reservations.SetFiltered(true);
    reservations.Open();
    book.FieldByName("yoyakuF").SetAsBoolean(!reservations.IsEmpty());
    book.Post();
    name.Post();
    reservations.Close();
    reservations.SetFiltered(false);
}

void Desk::AfterLending() {
    if (Replay) return;  // nobody to see the flash or to close the confirmation
    state.label18Visible = true;
    if (ShowState) ShowState();
    WaitWithMessages(kFlashMs);
    state.label18Visible = false;
    if (ShowState) ShowState();
    if (state.LendingConfirmationOption != 0) return;
    QString text = QStringLiteral("貸出が出来るようになりました。\r\n返却日は") +
                   QString::fromStdString(engine::FormatDate(state.DueDate)) +
                   QStringLiteral("です。");
    DeskWindows::Kakunin().Show(text, QColor(128, 255, 128));
}

void Desk::EndLending() {
    ClearUser();
    state.focus = DeskEdit::None;  // so that Edit3 is entered anew and the pick list empties
    try {
        Focus(DeskEdit::Edit3);
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(owner_, error);
    }
    auto& dm = TDM::Instance();
    CloseQuietly({&dm.KASHIBO, &dm.NAME, &dm.BOOK, &Query2});
    state.button1Enabled = true;
    state.LendingBusy = false;
}

}  // namespace kashidashi::desk
