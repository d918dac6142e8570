// The stored desk options: row 50 of Regist in the settings database, held
// in edit from the opening of the desk to its closing, so that it also locks
// the options against a second desk of the same program folder.
#include "data/U_DM.h"
#include "desk/desk.h"

namespace kashidashi::desk {
namespace {

constexpr int kOptionsRow = 50;

// An empty column reads as item 0.
int ItemIndex(engine::TDBTable& regist, const char* column) {
    return static_cast<int>(regist.FieldByName(column).AsInteger());
}

}  // namespace

void Desk::OpenOptions() {
    auto& regist = TDM::Instance().RegistTB;
    regist.Open();
    if (regist.FindKey({engine::Value(kOptionsRow)}))
        regist.Edit();
    else
        regist.Append();
    holdsOptions_ = true;
    regist.FieldByName("ID").SetAsInteger(kOptionsRow);
    state.QuickRegistrationOption = ItemIndex(regist, "P1");
    state.LendingConfirmationOption = ItemIndex(regist, "P2");
    state.ReturnConfirmationOption = ItemIndex(regist, "P3");
}

void Desk::StoreOptions() {
    auto& regist = TDM::Instance().RegistTB;
    // A desk that never got the row (another desk held it) leaves it alone.
    if (holdsOptions_ && regist.State() != engine::DataSetState::dsBrowse && regist.Active()) {
        regist.FieldByName("P1").SetAsInteger(state.QuickRegistrationOption);
        regist.FieldByName("P2").SetAsInteger(state.LendingConfirmationOption);
        regist.FieldByName("P3").SetAsInteger(state.ReturnConfirmationOption);
        regist.Post();
    }
    holdsOptions_ = false;
    regist.Close();
}

}  // namespace kashidashi::desk
