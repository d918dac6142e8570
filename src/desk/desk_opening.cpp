// Opening and closing the desk.
#include <exception>
#include <functional>

#include "data/U_DM.h"
#include "desk/desk.h"
#include "engine/common/dates.h"
#include "widgets/dataset_closer.h"

namespace kashidashi::desk {
namespace {

constexpr int kBookLockRow = 2;

int NewBookLockDays() {
    auto& reg = TDM::Instance().RegTB;
    DataSetCloser closer(reg);
    reg.Open();
    if (!reg.FindKey({engine::Value(kBookLockRow)})) return 0;
    return static_cast<int>(reg.FieldByName("N1").AsInteger());
}

}  // namespace

void Desk::ReadHead() {
    auto& head = TDM::Instance().Head;
    DataSetCloser closer(head);
    head.Open();
    state.LoanPeriodDays = static_cast<int>(head.FieldByName("PM1").AsInteger());
    state.LoanDate = engine::Today();
    state.DueDate = engine::Date{state.LoanDate.days + state.LoanPeriodDays};
    state.LoanLimit = static_cast<int>(head.FieldByName("kashisuu").AsInteger());
    state.HeadRead = true;
}

void Desk::ReadNewBookRule() {
    state.NewBookLockDays = NewBookLockDays();
    state.NewBookRuleRead = true;
}

namespace {

// Runs one read of the opening; what it throws is kept for the end.
std::exception_ptr Attempt(const std::function<void()>& read) {
    try {
        read();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

}  // namespace

// The dates and the limit are read first, whatever fails after them, so that
// this desk never lends with the pickers' defaults. A database that fails
// at its first read (a share out of reach for a moment, a server restarted)
// stops nothing else: the opening goes on, says the first failure once, and
// what it missed is read at the next user entry.
void Desk::Open() {
    std::exception_ptr failure = Attempt([&] { ReadHead(); });
    std::exception_ptr ruleFailure = Attempt([&] { ReadNewBookRule(); });
    if (!failure) failure = ruleFailure;
    // Another desk holding the options row or the pick list stops the
    // opening here; every user entry then answers with the guard.
    OpenOptions();
    WKT01.Open();
    if (state.tab == kTabLending) Focus(DeskEdit::Edit3);
    if (state.tab == kTabReturn) Focus(DeskEdit::Edit5);
    if (failure) std::rethrow_exception(failure);
}

void Desk::ReadWhatTheOpeningMissed() {
    if (!state.HeadRead) ReadHead();
    if (!state.NewBookRuleRead) ReadNewBookRule();
}

void Desk::Close() {
    WKT01.Close();
    Query2.Close();
    TDM::Instance().NAME.Close();
    TDM::Instance().BOOK.Close();
    StoreOptions();
}

}  // namespace kashidashi::desk
