// Enter in the ISBN box E3: the lookup of the chosen source, and the save of
// the row after a 13-digit ISBN.
#include <QPushButton>

#include "catalogue/U_FBOOK2.h"
#include "catalogue/lookup.h"
#include "catalogue/lookup_text.h"
#include "data/U_DM.h"
#include "ui_U_FBOOK2.h"
#include "widgets/dialogs.h"

namespace kashidashi {

void TFBook2::E3KeyPress() {
    const std::string digits = catalogue::DigitsOnly(ui->E3->text().toStdString());
    if (digits.size() == 12 || digits.size() == 13) {
        if (!RunLookup(digits)) return;  // abandoned: E3 keeps its text and the focus
        if (digits.size() == 13) {
            if (!SaveIsbn(digits.substr(0, 12))) return;
            ui->BitBtn1->setEnabled(true);
            ui->BitBtn2->setEnabled(false);
        }
    }
    ui->E4->setFocus();
}

// False when the lookup abandoned the operator's action.
bool TFBook2::RunLookup(const std::string& digits) {
    catalogue::DataSetBookRecord book(TDM::Instance().BOOK);
    catalogue::LookupContext context{book, [this](const std::string& m) {
                                         Dialogs::Information(this, QString::fromStdString(m));
                                     }};
    try {
        switch (ui->RadioGroup7->ItemIndex()) {
            case 0:
                catalogue::LookupNdl(digits, context);
                break;
            case 1:
                catalogue::LookupRakuten(digits, context);
                break;
            case 2:
                catalogue::LookupMarc(digits, context);
                break;
            default:
                break;
        }
        return true;
    } catch (const catalogue::LookupAbandoned&) {
        return false;
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return false;
    }
}

// ISBN := the twelve digits, and the row saved; false (after the error box)
// when the save failed, the row still being edited.
bool TFBook2::SaveIsbn(const std::string& isbn12) {
    auto& book = TDM::Instance().BOOK;
    try {
        if (book.State() == engine::DataSetState::dsBrowse) book.Edit();
        book.FieldByName("ISBN").SetAsString(isbn12);
        book.Post();
        return true;
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return false;
    }
}

}  // namespace kashidashi
