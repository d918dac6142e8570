// Changing the tab: refused while a user is being served on the lending tab.
#include "desk/desk.h"
#include "widgets/dialogs.h"

namespace kashidashi::desk {
namespace {

constexpr const char* kBusyMessage =
    "現在貸出処理を行っていますので、他の処理を行うことは出来ません。";

constexpr DeskEdit kClearedByTabChange[] = {DeskEdit::Edit6, DeskEdit::Edit4, DeskEdit::Edit3,
                                            DeskEdit::Edit1, DeskEdit::Edit5, DeskEdit::Edit2,
                                            DeskEdit::Edit8, DeskEdit::Edit9, DeskEdit::Edit10};

}  // namespace

bool Desk::SelectTab(int tab) {
    if (!state.Text(DeskEdit::Edit3).empty()) {
        // Back on the lending page before the message, so that the refused
        // page is never drawn under it.
        state.tab = kTabLending;
        Focus(DeskEdit::Edit4);
        if (ShowState) ShowState();
        Dialogs::Information(owner_, QString::fromUtf8(kBusyMessage));
        return false;
    }
    state.tab = tab;
    yoyakuQry.Close();
    ChangeTab();
    return true;
}

void Desk::ChangeTab() {
    switch (state.tab) {
        case kTabLending:
            state.button3Visible = true;
            state.button4Visible = false;
            break;
        case kTabReturn:
            state.button3Visible = false;
            state.button4Visible = true;
            state.returnMode = 0;
            state.label31 = "返却図書の確認";
            break;
        case kTabReservation:
            state.button3Visible = state.button4Visible = false;
            break;
        case kTabReservationList:
            state.listMode = -1;
            state.panel5Visible = false;
            break;
    }
    for (DeskEdit edit : kClearedByTabChange) state.Text(edit).clear();
    state.CurrentUserId.clear();
    Query2.Close();
    if (state.tab == kTabLending) Focus(DeskEdit::Edit3);
    if (state.tab == kTabReturn) Focus(DeskEdit::Edit5);
    if (state.tab == kTabReservation) Focus(DeskEdit::Edit11);
}

}  // namespace kashidashi::desk
