// The return and the lending cancellation (Enter in Edit5, after the LENDING
// code): the book-number rule of Edit5, then the writes of one transaction
// (desk_return_write.cpp), then what the operator is shown after the commit
// (desk_return_after.cpp).
//
// "貸出中の本ではありません。" is said only when the open loans of the book
// were counted and there were none; every failure up to and including the
// commit (also one of the ISBN search) rolls the transaction back, if one
// was started, and says that the return was undone.
#include <QString>

#include "data/U_DM.h"
#include "desk/U_Fhenkyaku2.h"
#include "desk/desk_return.h"
#include "desk/desk_windows.h"
#include "widgets/dataset_closer.h"
#include "widgets/dialogs.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kReturnCaption = "返却図書の確認";
constexpr const char* kUnknownIsbn = "この図書のISBNコードは、まだ登録されていません。";
constexpr const char* kNotOnLoan = "貸出中の本ではありません。";
constexpr const char* kUndone = "返却処理が正常に出来ませんでしたので取り消します。";

}  // namespace

void Desk::ReturnEntry() {
    state.label31 = kReturnCaption;
    const int mode = state.returnMode;
    std::optional<ReturnedLoan> loan;
    try {
        // No number (nothing typed, an unknown ISBN): the entry stays as it is.
        std::optional<int64_t> number = ReturnBookNumber();
        if (!number) return;
        loan = WriteReturn(*number, mode);
        if (!loan) ReturnFailed(kNotOnLoan);
    } catch (const std::exception&) {
        ReturnFailed(kUndone);
    }
    CloseReturnTables();
    if (loan) AfterReturn(*loan, mode);
    state.Text(DeskEdit::Edit5).clear();
    state.returnMode = kModeReturn;
    Focus(DeskEdit::Edit5);
}

std::optional<int64_t> Desk::ReturnBookNumber() {
    std::string& edit5 = state.Text(DeskEdit::Edit5);
    auto entry = BookEntryOf(BookField::Edit5, edit5, TDM::Instance().settings.IsbnLendingMode);
    if (std::holds_alternative<NoBook>(entry)) {
        edit5.clear();
        return std::nullopt;
    }
    int64_t number = 0;
    if (auto* isbn = std::get_if<IsbnKey>(&entry)) {
        std::optional<int64_t> holder = ReturnedCopy(isbn->isbn12);
        if (!holder) return std::nullopt;
        number = *holder;
    } else {
        number = std::get<BookNumber>(entry).number;
    }
    edit5 = BookNumberText(number);
    return number;
}

std::optional<int64_t> Desk::ReturnedCopy(const std::string& isbn12) {
    std::optional<int64_t> first = FindBookByIsbn(isbn12, false);
    if (!first) {
        Dialogs::Information(owner_, QString::fromUtf8(kUnknownIsbn));
        return std::nullopt;
    }
    if (Replay) return ReplayHolder(isbn12, *first);
    // Several holders: the operator says whose copy comes back.
    return DeskWindows::Fhenkyaku2().PickHolder(isbn12).value_or(*first);
}

// Without an operator only a title that one user holds can come back by its
// ISBN; with several holders nobody can say whose copy it is.
std::optional<int64_t> Desk::ReplayHolder(const std::string& isbn12, int64_t firstCopy) {
    engine::TDBQuery holders;
    OnDataDatabase(holders);
    holders.SQL().Add("Select Book_ID From kashibo where kashidashiF='1' and ISBN_ID=:PM");
    holders.ParamByName("PM").SetAsString(isbn12);
    holders.Open();
    int64_t count = holders.RecordCount();
    int64_t copy = count == 0 ? firstCopy : holders.FieldByName("Book_ID").AsInteger();
    holders.Close();
    if (count <= 1) return copy;
    if (Note) Note("この書名は複数の人が借りていますので、返却しませんでした。", true);
    return std::nullopt;
}

void Desk::ReturnFailed(const char* message) {
    Dialogs::Information(owner_, QString::fromUtf8(message));
    state.Text(DeskEdit::Edit2).clear();
    state.Text(DeskEdit::Edit9).clear();
}

void Desk::CloseReturnTables() {
    // The transaction is over already when the tables close.
    CloseQuietly({&Query1, &TDM::Instance().NAME, &TDM::Instance().BOOK});
}

}  // namespace kashidashi::desk
