// The book entry of the lending tab (Enter in Edit4): the checks before the
// book-number rule, the control codes ACTION and CANCEL, and the rule itself.
#include <QString>

#include "data/U_DM.h"
#include "desk/control_codes.h"
#include "desk/desk.h"
#include "widgets/dialogs.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kNoUser = "利用者がいないので、この処理は出来ません。";
constexpr const char* kOverLimit = "貸出数がオーバーしています。";
constexpr const char* kUnknownIsbn = "この図書のISBNコードは、まだ登録されていません。";

}  // namespace

void Desk::BookEntryKey() {
    std::string& edit4 = state.Text(DeskEdit::Edit4);
    // Books go only to a user the user entry found: digits in Edit3 that
    // found nobody pick no books.
    if (state.Text(DeskEdit::Edit3).empty() || state.CurrentUserId.empty()) {
        Dialogs::Information(owner_, QString::fromUtf8(kNoUser));
        edit4.clear();
        Focus(DeskEdit::Edit3);
        return;
    }
    bool normalLending = state.loanKind == 0;
    if (normalLending && state.RunningLoanCount >= state.LoanLimit &&
        ExactControlCodeOf(edit4) != ControlCode::Action &&
        ExactControlCodeOf(edit4) != ControlCode::Cancel) {
        Dialogs::Information(owner_, QString::fromUtf8(kOverLimit));
        edit4.clear();
        Focus(DeskEdit::Edit4);
        return;
    }
    ControlCode code = ControlCodeOf(edit4);
    if (code == ControlCode::Action) return Lend();
    if (code == ControlCode::Cancel) return CancelUser();
    auto entry = BookEntryOf(BookField::Edit4, edit4, TDM::Instance().settings.IsbnLendingMode);
    if (std::holds_alternative<NoBook>(entry)) {
        edit4.clear();
        return;
    }
    int64_t number = 0;
    if (auto* isbn = std::get_if<IsbnKey>(&entry)) {
        auto found = FindBookByIsbn(isbn->isbn12, true);
        if (!found) {
            Dialogs::Information(owner_, QString::fromUtf8(kUnknownIsbn));
            return;
        }
        number = *found;
    } else {
        number = std::get<BookNumber>(entry).number;
    }
    edit4 = BookNumberText(number);
    PickBook(number);
}

}  // namespace kashidashi::desk
