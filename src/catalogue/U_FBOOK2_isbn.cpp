// Enter in the ISBN box E3: the lookup of the chosen source, and the save of
// the row after a 13-digit ISBN.
#include <QApplication>
#include <QPushButton>

#include "catalogue/U_FBOOK2.h"
#include "catalogue/background_lookup.h"
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
    try {
        Search(digits);
        return true;
    } catch (const catalogue::LookupAbandoned&) {
        return false;
    } catch (const std::exception& error) {
        Dialogs::ShowEngineError(this, error);
        return false;
    }
}

// The lookup of the chosen source on its own thread, the window showing
// that it searches until the lookup has ended (also by an exception).
void TFBook2::Search(const std::string& digits) {
    static const catalogue::Lookup kSources[] = {catalogue::LookupNdl, catalogue::LookupRakuten,
                                                 catalogue::LookupMarc};
    const int source = ui->RadioGroup7->ItemIndex();
    if (source < 0 || source > 2) return;
    ShowSearching(true);
    struct End {
        TFBook2* window;
        ~End() { window->ShowSearching(false); }
    } end{this};
    catalogue::RunInBackground(kSources[source], digits, TDM::Instance().BOOK,
                               [this](const std::string& message) {
                                   // The operator reads the message with the usual cursor.
                                   QApplication::restoreOverrideCursor();
                                   Dialogs::Information(this, QString::fromStdString(message));
                                   QApplication::setOverrideCursor(Qt::WaitCursor);
                               });
}

void TFBook2::ShowSearching(bool searching) {
    searching_ = searching;
    ui->LabelSearching->setVisible(searching);
    if (searching)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
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
