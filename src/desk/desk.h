// Desk: the lending desk's rules and operations, without a window. One Desk
// lives for one opening of the desk window (or one replay of scans); it owns
// the data sets the desk holds (the pick list WKT01, Query2) and reaches the
// shared tables of the data module. Everything the operator must see or
// answer goes through the Dialogs seam, with `owner` as the parent of the
// boxes (none when headless).
//
// The window calls the event operations below after copying the operator's
// typing into `state`, and shows `state` afterwards. Engine failures that an
// operation does not handle itself pass to the caller, which shows them in
// the standard error box; the state then holds what the operation reached.
//
// Files: desk.cpp (construction, focus, fields), desk_opening.cpp (opening
// and closing), desk_tabs.cpp (tab change), desk_user_entry.cpp (the user
// entry and the control codes of the lending tab), desk_isbn.cpp (the ISBN
// form of the book entries), desk_options.cpp (the stored options row).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "data/data_source.h"
#include "desk/desk_state.h"
#include "desk/entry_rules.h"
#include "engine/dataset/query.h"
#include "engine/dataset/table.h"

class QWidget;

namespace kashidashi::desk {

class Desk {
  public:
    explicit Desk(QWidget* owner = nullptr);
    ~Desk();
    Desk(const Desk&) = delete;
    Desk& operator=(const Desk&) = delete;

    DeskState state;

    // The window's events.
    void Open();   // the opening sequence, once per opening
    void Close();  // the closing sequence
    // The operator selected another tab (state.tab is still the old one).
    // False when a user is being served: the tab stays on lending.
    bool SelectTab(int tab);
    // The operator (or the window) put the focus into a field.
    void FieldEntered(DeskEdit edit);
    // Enter in a field.
    void EnterPressed(DeskEdit edit);
    void LendingOptionClicked();  // RadioGroup1, RadioGroup5, RadioGroup6
    void ReturnModeClicked();     // RadioGroup2
    void CancelUser();            // Button2, F2, CANCEL
    void NameSearch();            // Button7: a user who forgot the card
    void Lend();                  // Button1, F1, ACTION

    // The desk moves the focus; entering Edit3 empties the pick list.
    void Focus(DeskEdit edit);

    // The ISBN form of a book entry: the number of the first copy in ISBN
    // order (only copies not lent when `notLent`); nothing when no copy has it.
    static std::optional<int64_t> FindBookByIsbn(const std::string& isbn12, bool notLent);
    // Opens the data module's YoyakuFindQry on the reservations of a book
    // number or of its title (ISBN), earliest first; the caller closes it.
    static engine::TDBQuery& OpenTitleReservations(int64_t bookId, const std::string& isbn12);

    // The data sets of the desk, for its grids.
    engine::TDBTable WKT01;   // the pick list, held exclusively while the desk is open
    engine::TDBQuery Query2;  // the user's unreturned books
    engine::TDBQuery Query1;  // the open loans of a returned book (live)
    engine::TDBQuery DelQry;  // deletes the open loans of a book
    TDataSource PickListSource{&WKT01};
    TDataSource Query2Source{&Query2};

    QWidget* Owner() const { return owner_; }
    // Shows the state at once (the window sets it): the lending shows its
    // "貸出完了" while it waits.
    std::function<void()> ShowState;

    // A replay of stored scans (scan_replay.h): no operator is at hand, so
    // where the desk would wait for one it changes nothing and tells Note
    // (refused: the scan was not carried out), and it shows no confirmation.
    bool Replay = false;
    std::function<void(const std::string& text, bool refused)> Note;
    // Feeds one scan to the field that has the focus, as the reader types
    // it; false when a note refused it.
    bool ReplayScan(const std::string& scan);
    // At the end of a replay: false, with a line to `out`, when picked books
    // were left without ACTION.
    bool ReplayEnd(std::ostream& out);

  private:
    void OpenOptions();
    void StoreOptions();
    void ReadHead();
    void ReadNewBookRule();
    // Reads what a failed opening left unread (head, the new-book rule);
    // throws when it fails again.
    void ReadWhatTheOpeningMissed();
    void EmptyPickList();
    void ShowUnreturned(const std::string& fixedNumber);
    void ChangeTab();
    void UserEntry();
    void FindUser(const std::string& number);
    void BookEntryKey();
    void PickBook(int64_t number);
    const char* RefusalOf(engine::TDBTable& book);
    bool ReservationAllows();
    void AddToPickList(engine::TDBTable& book);
    void BookNotFound();
    // The lending of the pick list (desk_lend.cpp).
    void StoreAndConfirm();
    void WriteLoans();
    void WriteLoan(engine::TDBTable& book, engine::TDBTable& name);
    void UndoLending();
    void AfterLending();
    void EndLending();
    void ReturnEntryKey();
    void ClearUser();

    // The return and the lending cancellation of the return tab (desk_return*.cpp).
    void ReturnEntry();
    std::optional<int64_t> ReplayHolder(const std::string& isbn12, int64_t firstCopy);
    void NoteReservations(int64_t bookId, const std::string& isbn12);
    struct ReturnedLoan;  // desk_return.h
    std::optional<int64_t> ReturnBookNumber();
    std::optional<int64_t> ReturnedCopy(const std::string& isbn12);
    std::optional<ReturnedLoan> WriteReturn(int64_t number, int mode);
    ReturnedLoan CloseLoan(int mode);
    void ReturnFailed(const char* message);
    void CloseReturnTables();
    void AfterReturn(const ReturnedLoan& loan, int mode);

  public:
    // Reservations (desk_reservation*.cpp), the period lists
    // (desk_period_lists.cpp), the on-loan check (desk_onloan_check.cpp) and
    // the reservation update (desk_reservation_update.cpp). Enter in Edit11,
    // Edit8, Edit12, Edit14 and Edit20 comes through EnterPressed.
    engine::TDBQuery yoyakuQry;      // the reservation lists of DBGrid5 and DBGrid6
    engine::TDBQuery UpdateQry;      // stores the memo of one reservation
    engine::TDBQuery kashidashiQry;  // the loans or returns of a period
    engine::TDBQuery kakuninQry;     // the open loan of one book (live)
    engine::TDBQuery kakuninQry2;    // the book of one number
    TDataSource yoyakuQrySource{&yoyakuQry};
    // RadioGroup3 or RadioGroup4 clicked: the panels of the mode shown; with
    // すべて表示する every reservation listed in the order of RadioGroup4.
    void ListModeClicked();
    // Enter in DBGrid5: the current row (its cell edit posted to the copy)
    // has its memo stored, and the book's reservations are shown again.
    void SaveMemo();
    // Button5: after the operator's Yes, the row's user's reservations of the
    // row's book number deleted, the book's yoyakuF cleared when no
    // reservation of it (or of CurrentIsbn) remains, the list read again.
    void DeleteReservation();
    // Button9: after the operator's Yes, every reservation takes its user's
    // present pupil number and name; no transaction, no message.
    void UpdateReservations();
    // Button3 (loans) / Button4 (returns): the period asked, the list shown.
    void PeriodList(bool returns);
    // kashidashiQry's statement for the loans or the returns of a period.
    void SetPeriodListStatement(bool returns);
    // Shows the list of kashidashiQry (statement and PM1, PM2 set) under
    // its title and period; the query is closed again afterwards.
    void ShowPeriodList(const std::string& title, const std::string& range);

  private:
    void DeclareReservationDataSets();
    void ShowReservations(int64_t bookId);
    void SetReservationStatement(const std::string& condition, const std::string& order);
    void ReopenReservations();
    void ReservationBookEntry();
    void TakeReservation();
    bool FindReservingUser(const std::string& number);
    bool TryStoreReservation();
    void StoreReservation();
    void UserReservations();
    void BookReservations();
    void OnLoanCheck();
    std::string OnLoanText(int64_t number);
    std::string ShelfText(int64_t number);

    QWidget* owner_;
    bool holdsOptions_ = false;
};

}  // namespace kashidashi::desk
