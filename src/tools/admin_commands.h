// The data-folder commands of kashidashi-admin.
//
// Each takes the words that follow the command's name, writes its report to
// `out` and every message for the operator (in Japanese) to `err`, and
// returns the exit status: 0 done, 1 refused or failed (nothing was changed),
// 2 wrong use (the usage line is printed).
//
//   init FOLDER                 creates the data tables in an existing folder
//                               that holds none of them
//   demo FOLDER [--books N …]   init, then a small believable school, or one of a
//                               chosen size
//   import-users FOLDER FILE [--apply]
//                               loads or updates Name rows from a CSV file
//   import-books FOLDER FILE [--apply]
//                               loads or updates Book rows from a CSV file
//   export-users, export-books  the CSV files the imports read back
//   users, books                a user added, changed or left; a book
//                               discarded or restored
//   forget-leavers FOLDER --years N [--apply]
//                               returned loans of long-gone users made anonymous
//   copy SOURCE DEST            copies the data tables from a folder to a server
//                               (or back) that holds none of them
//   scans FOLDER FILE [--settings DIR]
//                               replays a reader's stored scans through the desk
//   lookup ISBN [--source ndl|rakuten|marc] [--base URL]
//                               prints what a source knows about a book
//   marc-import FILE            MARC21 records into the MARC database
//   backup SOURCE FILE          a consistent copy of the data tables in one file,
//                               taken while desks go on lending
//   restore FILE DEST           a backup put in place of DEST's data tables, after
//                               a backup of what DEST holds now
//   check SOURCE [--repair]     the consistency check of the data (exit 1 with
//                               findings); --repair sets flags and counts
//   overdue FOLDER [--date D] [--class CODE]
//                               the loans overdue on a day, tab-separated
//   stats FOLDER --from D --to D --by month|grade|class|ndc|title|users
//                               lending counts of a period, tab-separated
//   rollover FOLDER FILE [--apply]
//                               what the new year's class list changes; --apply
//                               does it after a backup
//   inventory FOLDER start|scan FILE|report|status
//                               the stock check: start it, take a reader's file,
//                               the books not found, the progress
//   labels FOLDER --books FROM-TO|--registered FROM-TO|--list FILE [--spine]
//          [--sheet NAME] [--start N] [--school TEXT] --pdf FILE
//                               book or spine labels on a label sheet, as PDF
//   cards FOLDER [--class CODE|--list FILE] [--sheet NAME] [--start N]
//         [--school TEXT] --pdf FILE
//                               user cards on a card or label sheet, as PDF
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kashidashi::admin {

inline constexpr const char* kInitUsage = "init FOLDER";
inline constexpr const char* kDemoUsage =
    "demo FOLDER [--books N] [--users N] [--loans N] [--reservations N] [--seed N]";
inline constexpr const char* kImportUsersUsage = "import-users FOLDER FILE.csv [--apply]";
inline constexpr const char* kImportBooksUsage = "import-books FOLDER FILE.csv [--apply]";
inline constexpr const char* kCopyUsage = "copy SOURCE DEST";

int CommandInit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandDemo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandCopy(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// scans FOLDER FILE [--settings DIR]: the replay of stored scans through the
// desk (command_scans.cpp, built with the desk layer).
inline constexpr const char* kScansUsage = "scans FOLDER FILE [--settings DIR]";
int CommandScans(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The catalogue's commands (command_lookup.cpp, command_marc_import.cpp,
// built with the desk layer, which brings the catalogue).
inline constexpr const char* kLookupUsage = "lookup ISBN [--source ndl|rakuten|marc] [--base URL]";
inline constexpr const char* kMarcImportUsage = "marc-import FILE";
int CommandLookup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandMarcImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The librarian's data-safety commands (command_backup.cpp,
// command_restore.cpp, command_check.cpp, built with the library layer).
// SOURCE is a folder, a server or a backup file; DEST a folder or a server.
inline constexpr const char* kBackupUsage = "backup SOURCE FILE";
inline constexpr const char* kRestoreUsage = "restore FILE DEST [--before FOLDER] [--other-school]";
inline constexpr const char* kCheckUsage = "check SOURCE [--repair]";
int CommandBackup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandRestore(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The librarian's year (command_overdue.cpp, command_stats.cpp,
// command_rollover.cpp, built with the library layer).
inline constexpr const char* kOverdueUsage =
    "overdue FOLDER [--date yyyy/mm/dd] [--class CODE|staff]";
inline constexpr const char* kStatsUsage =
    "stats FOLDER --from yyyy/mm/dd --to yyyy/mm/dd --by month|grade|class|ndc|title|users|"
    "perpupil-class|perpupil-grade|readers-class|readers-grade | --save DIR";
inline constexpr const char* kRolloverUsage =
    "rollover FOLDER FILE.csv... [--apply] [--allow-removals]";
int CommandOverdue(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandRollover(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The stock check (command_inventory.cpp, built with the library layer).
inline constexpr const char* kInventoryUsage =
    "inventory FOLDER start [--again] [--place CODE|--ndc FROM-TO]|scan FILE [--again]|report|"
    "status|finish [--write-off BOOK,...]|lost|restore BOOK|summary [--year YYYY]";
int CommandInventory(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Labels and cards (command_labels.cpp, command_cards.cpp, built with the
// library layer).
inline constexpr const char* kLabelsUsage =
    "labels FOLDER --books FROM-TO|--registered FROM-TO|--list FILE [--spine] [--sheet NAME] "
    "[--start N] [--school TEXT] [--barcode code39|nw7] --pdf FILE";
inline constexpr const char* kCardsUsage =
    "cards FOLDER [--class CODE|--list FILE] [--sheet NAME] [--start N] [--school TEXT] "
    "[--barcode code39|nw7] --pdf FILE";
int CommandLabels(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandCards(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The catalogue and roll (command_import.cpp, command_holdings.cpp, built
// with the library layer, whose rules check an import against the data).
int CommandImportUsers(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandImportBooks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
inline constexpr const char* kExportUsersUsage = "export-users FOLDER FILE.csv";
inline constexpr const char* kExportBooksUsage = "export-books FOLDER FILE.csv";
inline constexpr const char* kUsersUsage =
    "users FOLDER add --name NAME [--id ID] [--pupil NO] [--class CODE] | edit ID [--name NAME] "
    "[--pupil NO] [--class CODE] | leave ID [--date yyyy/mm/dd]";
inline constexpr const char* kBooksUsage =
    "books FOLDER discard BOOK [--reason TEXT] [--date yyyy/mm/dd] | restore BOOK";
inline constexpr const char* kForgetLeaversUsage = "forget-leavers FOLDER --years N [--apply]";
int CommandExportUsers(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandExportBooks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandUsers(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandBooks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandForgetLeavers(const std::vector<std::string>& args, std::ostream& out,
                         std::ostream& err);

// The pupils' web pages (command_passwords.cpp, built with the library layer).
inline constexpr const char* kPasswordsUsage =
    "passwords PLACE --user NUMBER|--class CODE|--all [--school TEXT] [--url ADDRESS] --pdf FILE";
inline constexpr const char* kWebSwitchesUsage =
    "web-switches PLACE [--pupil-page on|off] [--reading-record on|off] [--other-schools on|off] "
    "[--reservation-limit N]";
inline constexpr const char* kWebGrantsUsage = "web-grants DATABASE ROLE";
int CommandPasswords(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int CommandWebSwitches(const std::vector<std::string>& args, std::ostream& out,
                       std::ostream& err);
int CommandWebGrants(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kashidashi::admin
