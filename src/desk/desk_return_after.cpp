// What a committed return shows: the borrower's unreturned books, the queue
// of reservations waiting for the book or its title (返却 only), and the
// confirmation. The return is committed before any of them, so no
// transaction waits for the operator; a failure here is shown in the error
// box and the return stands.
#include <QColor>
#include <QString>
#include <functional>

#include "data/U_DM.h"
#include "desk/U_Fgyoumu1_W2.h"
#include "desk/U_kakunin.h"
#include "desk/desk_return.h"
#include "desk/desk_windows.h"
#include "desk/lost_mark.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kReturned = "返却が正常に出来ました。";

// Runs one step after the commit; its failure is shown and ends only that step.
void AfterCommit(QWidget* owner, const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(owner, error);
    }
}

bool HasReservations(int64_t bookId, const std::string& isbn12) {
    auto& find = Desk::OpenTitleReservations(bookId, isbn12);
    DataSetCloser closer(find);
    return !find.IsEmpty();
}

}  // namespace

// The queue waiting for a returned title, for the staff to tell the next
// pupil when no window can show it.
void Desk::NoteReservations(int64_t bookId, const std::string& isbn12) {
    auto& find = Desk::OpenTitleReservations(bookId, isbn12);
    DataSetCloser closer(find);
    for (; !find.Eof(); find.Next())
        if (Note)
            Note("予約 " + find.FieldByName("yoyakuDTime").AsString() + " " +
                     find.FieldByName("Name_ID").AsString(),
                 false);
}

void Desk::AfterReturn(const ReturnedLoan& loan, int mode) {
    // The borrower's list is refreshed in both modes: after a cancellation
    // it must not show the book any more.
    AfterCommit(owner_, [&] { ShowUnreturned(loan.fixedNumber); });
    // A book a stock check did not find is back.
    AfterCommit(owner_, [&] {
        if (!ClearLostMark(loan.bookId)) return;
        if (!Replay)
            Dialogs::Information(owner_, QString::fromUtf8(kLostMarkFound));
        else if (Note)
            Note(kLostMarkFound, false);
    });
    if (mode == kModeReturn)
        AfterCommit(owner_, [&] {
            if (!HasReservations(loan.bookId, loan.isbn12)) return;
            if (Replay) return NoteReservations(loan.bookId, loan.isbn12);
            DeskWindows::Fgyoumu1_W2().ShowReturnForm(loan.bookId, loan.isbn12);
        });
    if (Replay || state.ReturnConfirmationOption != 0) return;
    AfterCommit(owner_, [&] {
        DeskWindows::Kakunin().Show(QString::fromUtf8(kReturned), QColor(255, 255, 0));
    });
}

}  // namespace kashidashi::desk
