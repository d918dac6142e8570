// The writes of one return, in one transaction of the data database: the
// open loan record closed (返却) or deleted (貸出取消), the book freed, the
// borrower's count lowered; committed with a forced flush, or rolled back as
// a whole when anything up to and including the commit fails. The result
// fields of the return tab are filled on the way.
#include <algorithm>

#include "data/U_DM.h"
#include "desk/desk_return.h"
#include "engine/common/dates.h"
#include "engine/dataset/field.h"
#include "engine/session/transaction_guard.h"
#include "widgets/dataset_closer.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kCancelCaption = "貸出後取消図書の確認";

void OpenBorrowersAndBooks() {
    TDM& dm = TDM::Instance();
    dm.BOOK.Close();
    dm.BOOK.SetFiltered(false);
    dm.BOOK.SetIndexName("");
    dm.NAME.Close();
    dm.NAME.SetIndexFieldNames("NAME_ID");
    dm.BOOK.Open();
    dm.NAME.Open();
}

void PostIfEditing(engine::TDataSet& dataSet) {
    if (dataSet.State() == engine::DataSetState::dsEdit) dataSet.Post();
}

// The borrower's count goes down by one and never below 0.
void LowerCount(DeskState& state, const std::string& fixedNumber) {
    auto& name = TDM::Instance().NAME;
    if (!name.FindKey({engine::Value(fixedNumber)})) return;
    name.Edit();
    engine::TField& count = name.FieldByName("mihenkyakuSU");
    count.SetAsInteger(std::max<int64_t>(count.AsInteger() - 1, 0));
    state.Text(DeskEdit::Edit2) = name.FieldByName("NAME").AsString();
    state.Text(DeskEdit::Edit19) = name.FieldByName("seito_No").AsString();
}

void ShowShelf(DeskState& state, const engine::Value& shelfId) {
    if (shelfId.IsNull()) return;
    auto& hkn = TDM::Instance().HKN;
    DataSetCloser closer(hkn);
    hkn.Open();
    if (hkn.FindKey({shelfId})) state.Text(DeskEdit::Edit18) = hkn.FieldByName("HKN").AsString();
}

// Frees the book; its ISBN's first twelve characters go to `isbn12`.
bool FreeBook(DeskState& state, int64_t bookId, std::string& isbn12) {
    auto& book = TDM::Instance().BOOK;
    if (!book.FindKey({engine::Value(bookId)})) return false;
    book.Edit();
    book.FieldByName("kashidashiF").Clear();
    isbn12 = book.FieldByName("ISBN").AsString().substr(0, 12);
    state.Text(DeskEdit::Edit9) = book.FieldByName("syomei2").AsString();
    state.Text(DeskEdit::Edit17) = book.FieldByName("seikyu").AsString();
    ShowShelf(state, book.FieldByName("HKN_ID").GetValue());
    state.Text(DeskEdit::Edit16) = std::to_string(bookId);
    return true;
}

// The cancellation leaves no trace: every open loan of the book goes.
void DeleteOpenLoans(engine::TDBQuery& query1, engine::TDBQuery& delQry, int64_t bookId) {
    query1.Close();
    delQry.ParamByName("PM1").SetAsInteger(bookId);
    delQry.ExecSQL();
}

}  // namespace

std::optional<Desk::ReturnedLoan> Desk::WriteReturn(int64_t number, int mode) {
    OpenBorrowersAndBooks();
    Query1.Close();
    Query1.ParamByName("PM").SetAsInteger(number);
    Query1.Open();
    engine::TransactionGuard transaction(TDM::Instance().DBDatabase1);
    if (Query1.RecordCount() == 0) return std::nullopt;
    ReturnedLoan loan = CloseLoan(mode);
    transaction.Commit();
    return loan;
}

Desk::ReturnedLoan Desk::CloseLoan(int mode) {
    state.Text(DeskEdit::Edit21) = Query1.FieldByName("kashidashibi").AsString();
    Query1.Edit();
    if (mode == kModeReturn) Query1.FieldByName("kashidashiF").Clear();
    Query1.FieldByName("henkyakubi").SetValue(engine::Value(engine::Today()));
    ReturnedLoan loan;
    loan.fixedNumber = Query1.FieldByName("NAME_ID").AsString();
    const int64_t bookId = Query1.FieldByName("BOOK_ID").AsInteger();
    LowerCount(state, loan.fixedNumber);
    if (FreeBook(state, bookId, loan.isbn12)) loan.bookId = bookId;
    Query1.Post();
    if (mode == kModeCancel) {
        DeleteOpenLoans(Query1, DelQry, bookId);
        state.label31 = kCancelCaption;
    }
    PostIfEditing(TDM::Instance().NAME);
    PostIfEditing(TDM::Instance().BOOK);
    return loan;
}

}  // namespace kashidashi::desk
