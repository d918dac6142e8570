// What the lending desk keeps for one opening of its window, and what its
// window shows. The desk's operations read and change this state; the window
// is a view of it (it copies the operator's typing in before an operation and
// shows the state after), and a replay of scans needs no window at all.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/common/value.h"

namespace kashidashi::desk {

// The desk's text fields by their number: Edit3 is DeskEdit::Edit3.
enum class DeskEdit : int {
    None = 0,
    Edit1 = 1,
    Edit2,
    Edit3,
    Edit4,
    Edit5,
    Edit6,
    Edit7,
    Edit8,
    Edit9,
    Edit10,
    Edit11,
    Edit12,
    Edit13,
    Edit14,
    Edit15,
    Edit16,
    Edit17,
    Edit18,
    Edit19,
    Edit20,
    Edit21,
};
constexpr int kLastDeskEdit = 21;

// The tabs by index.
enum DeskTab : int {
    kTabLending = 0,
    kTabReturn = 1,
    kTabReservation = 2,
    kTabReservationList = 3
};

struct DeskState {
    // Of one opening.
    engine::Date LoanDate;  // DateEdit1
    engine::Date DueDate;   // DateEdit2
    int LoanLimit = 0;
    int LoanPeriodDays = 0;  // head.PM1: the due date's distance from the loan date
    int LastLentCount = 0;   // books of the last lending that was stored
    int NewBookLockDays = 0;
    // Whether the opening read head (the dates and the limit) and the
    // new-book rule; what it missed is read at the next user entry, so no
    // book is lent under a rule or a date that was never read.
    bool HeadRead = false;
    bool NewBookRuleRead = false;
    int RunningLoanCount = 0;
    int64_t CurrentBookId = 0;
    std::string CurrentIsbn;  // twelve characters, or empty
    bool LendingBusy = false;
    // The fixed number of the user the user entry found; empty while none.
    std::string CurrentUserId;

    // The stored desk options (item indexes 0 or 1).
    int QuickRegistrationOption = 0;    // RadioGroup5: 有効, 無効
    int LendingConfirmationOption = 0;  // RadioGroup6: あり, なし
    int ReturnConfirmationOption = 0;   // RadioGroup7: あり, なし

    // What the window shows.
    std::array<std::string, kLastDeskEdit + 1> texts;  // texts[3] is Edit3
    int tab = kTabLending;
    DeskEdit focus = DeskEdit::None;
    int loanKind = 0;             // RadioGroup1: 通常貸出, 団体貸出
    int returnMode = 0;           // RadioGroup2: 返却, 貸出取消
    int listMode = -1;            // RadioGroup3; -1 no item
    int listOrder = 0;            // RadioGroup4
    bool button3Visible = true;   // 貸出日報印刷
    bool button4Visible = false;  // 返却日報印刷
    bool panel5Visible = false;
    bool panel6Visible = false;  // the book search of 予約状況
    bool panel8Visible = false;  // the orders of すべて表示する
    bool button1Enabled = true;
    bool label18Visible = false;  // 貸出完了
    std::string label31 = "返却図書の確認";

    // The book the reservation entry (Edit11) found, and its ISBN's first
    // twelve characters: a reservation is taken for this book only.
    std::optional<int64_t> reservationBookId;
    std::string reservationIsbn;
    // The texts of the period list's title and period.
    std::string memo_title;
    std::string memo_hani;

    std::string& Text(DeskEdit edit) { return texts.at(static_cast<int>(edit)); }
    const std::string& Text(DeskEdit edit) const { return texts.at(static_cast<int>(edit)); }
};

}  // namespace kashidashi::desk
