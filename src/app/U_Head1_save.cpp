// Closing the initial settings window: every close saves.
#include "app/LibMail.h"
#include "app/U_Head1.h"
#include "data/U_DM.h"
#include "platform/paths.h"
#include "ui_U_Head1.h"
#include "widgets/dialogs.h"

namespace kashidashi {

void THead1::done(int result) {
    if (FormClose()) QDialog::done(result);
}

bool THead1::FormClose() {
    // Checked before anything is written, so a refused close changes nothing.
    if (const auto* invalid = bindings_.FirstInvalid()) {
        Dialogs::Warning(this, FieldBindings::InvalidNumberMessage(*invalid));
        invalid->edit->setFocus();
        return false;
    }
    SaveRegRow2();
    try {
        SaveHead();
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return false;
    }
    return true;
}

// Only row 2, and only when it was shown: a failure skips the step silently.
bool THead1::SaveRegRow2() {
    engine::TDBTable& reg = TDM::Instance().RegTB;
    bool saved = false;
    try {
        if (regRow2Shown_) {
            if (!reg.Active()) reg.Open();
            if (reg.FindKey({engine::Value(2)})) {
                WriteRegRow2(reg);
                saved = true;
            }
        }
    } catch (const std::exception&) {
        saved = false;
    }
    reg.Close();  // drops an edit left by a failure
    return saved;
}

void THead1::WriteRegRow2(engine::TDBTable& reg) {
    reg.Edit();
    bindings_.Store(reg);
    const int choice = ui->RadioGroup2->ItemIndex();
    if (choice >= 0) reg.FieldByName("N2").SetAsInteger(choice);
    reg.Post();
    if (choice >= 0) TDM::Instance().settings.IsbnLendingMode = choice;
}

void THead1::SaveHead() {
    using engine::DataSetState;
    if (Head.State() != DataSetState::dsEdit && Head.State() != DataSetState::dsInsert)
        return;  // head could not be opened; that was said when the window opened
    bindings_.Store(Head);
    Head.FieldByName("PM4").SetAsInteger(ui->RadioGroup1->ItemIndex() == 1 ? 1 : 0);
    std::string folder = Head.FieldByName("PathName1").AsString();
    if (!folder.empty()) folder = platform::WithTrailingSeparator(folder);
    Head.FieldByName("PathName1").SetAsString(folder);
    TDM::Instance().settings.DataFolder = folder;
    Head.Post();
    Head.Close();
}

}  // namespace kashidashi
