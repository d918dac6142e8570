// One stored scan fed to the desk as the reader would type it, and what the
// desk did with it, for the replay of scans.
#include <ostream>

#include "data/U_DM.h"
#include "desk/desk.h"
#include "desk/entry_rules.h"
#include "engine/common/dates.h"

namespace kashidashi::desk {
namespace {

// The lengths the desk's entry fields take; a reader types no further.
size_t MaxLength(DeskEdit edit) {
    return edit == DeskEdit::Edit3 || edit == DeskEdit::Edit8 ? 13 : 15;
}

struct Before {
    int tab;
    std::string user;
    int running;
    int lentCount;
    std::string returned;
};

}  // namespace

bool Desk::ReplayScan(const std::string& scan) {
    DeskEdit field = state.focus;
    if (field == DeskEdit::None)
        field = state.tab == kTabReturn ? DeskEdit::Edit5 : DeskEdit::Edit3;
    Focus(field);
    state.Text(field) = scan.substr(0, MaxLength(field));
    Before before{state.tab, state.CurrentUserId, state.RunningLoanCount, state.LastLentCount,
                  state.Text(DeskEdit::Edit16)};
    state.LastLentCount = 0;
    state.Text(DeskEdit::Edit16).clear();
    bool refused = false;
    auto note = Note;
    Note = [&](const std::string& text, bool refusal) {
        refused = refused || refusal;
        if (note) note(text, refusal);
    };
    EnterPressed(field);
    Note = note;
    auto tell = [&](const std::string& text) {
        if (Note) Note(text, false);
    };
    if (state.tab != before.tab)
        tell(state.tab == kTabReturn ? "返却の画面にしました。" : "貸出の画面にしました。");
    if (!state.CurrentUserId.empty() && state.CurrentUserId != before.user)
        tell("利用者 " + state.CurrentUserId + " " + state.Text(DeskEdit::Edit6));
    if (state.CurrentUserId == before.user && state.RunningLoanCount > before.running)
        tell("選択 " + BookNumberText(state.CurrentBookId));
    if (state.LastLentCount > 0)
        tell("貸出 " + std::to_string(state.LastLentCount) + "冊 返却日 " +
             engine::FormatDate(state.DueDate));
    if (!state.Text(DeskEdit::Edit16).empty())
        tell("返却 " + state.Text(DeskEdit::Edit16) + " " + state.Text(DeskEdit::Edit9) + " " +
             state.Text(DeskEdit::Edit2));
    return !refused;
}

bool Desk::ReplayEnd(std::ostream& out) {
    if (!WKT01.Active() || WKT01.RecordCount() == 0) return true;
    out << "終了\t\t選択した図書 " << WKT01.RecordCount()
        << "冊は ACTION がないので貸出していません。\n";
    return false;
}

}  // namespace kashidashi::desk
