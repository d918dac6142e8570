// Opening and closing the desk.
#include <exception>

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
}

void Desk::Open() {
    state.NewBookLockDays = NewBookLockDays();
    try {
        OpenOptions();
        WKT01.Open();
    } catch (...) {
        // Another desk holds the options row or the pick list. The dates and
        // the limit are still read, so that this desk never lends with the
        // pickers' defaults; every user entry then answers with the guard.
        ReadHead();
        throw;
    }
    ReadHead();
    if (state.tab == kTabLending) Focus(DeskEdit::Edit3);
    if (state.tab == kTabReturn) Focus(DeskEdit::Edit5);
}

void Desk::Close() {
    WKT01.Close();
    Query2.Close();
    TDM::Instance().NAME.Close();
    TDM::Instance().BOOK.Close();
    StoreOptions();
}

}  // namespace kashidashi::desk
