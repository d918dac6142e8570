// kashidashi-admin: the command-line companion of the lending desk.
//
//   kashidashi-admin COMMAND ARGUMENTS...
//
// Each command is a function of its own file (command_<name>.cpp) listed in
// kCommands below; it gets the words after its name and returns the exit
// status: 0 done, 1 failed, 2 wrong use. An unknown or missing command
// prints the list of commands and gives 2; --help (help, -h) prints the
// list and gives 0; --version prints the version.
// Wherever a command takes a FOLDER, a server database serves as well:
// server://USER@HOST[:PORT]/DATABASE (data_location.h).
#include <iostream>
#include <string>
#include <vector>

#include "kashidashi/version.h"
#include "tools/command_sql.h"
#ifdef KX_ADMIN_DATA_COMMANDS
#include "tools/admin_commands.h"
#endif

namespace kashidashi::admin {
namespace {

using CommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out,
                                std::ostream& err);

struct Command {
    const char* name;
    CommandFunction run;
    const char* usage;
};

constexpr Command kCommands[] = {
    {"sql", CommandSql, kSqlUsage},
#ifdef KX_ADMIN_DATA_COMMANDS  // built with the data layer (CMakeLists.txt)
    {"init", CommandInit, kInitUsage},
    {"demo", CommandDemo, kDemoUsage},
    {"copy", CommandCopy, kCopyUsage},
#endif
#ifdef KX_ADMIN_DESK_COMMANDS  // built with the desk layer
    {"scans", CommandScans, kScansUsage},
    {"lookup", CommandLookup, kLookupUsage},
    {"marc-import", CommandMarcImport, kMarcImportUsage},
#endif
#ifdef KX_ADMIN_LIBRARY_COMMANDS  // built with the library layer
    {"import-users", CommandImportUsers, kImportUsersUsage},
    {"import-books", CommandImportBooks, kImportBooksUsage},
    {"export-users", CommandExportUsers, kExportUsersUsage},
    {"export-books", CommandExportBooks, kExportBooksUsage},
    {"users", CommandUsers, kUsersUsage},
    {"books", CommandBooks, kBooksUsage},
    {"forget-leavers", CommandForgetLeavers, kForgetLeaversUsage},
    {"backup", CommandBackup, kBackupUsage},
    {"restore", CommandRestore, kRestoreUsage},
    {"check", CommandCheck, kCheckUsage},
    {"overdue", CommandOverdue, kOverdueUsage},
    {"stats", CommandStats, kStatsUsage},
    {"rollover", CommandRollover, kRolloverUsage},
    {"inventory", CommandInventory, kInventoryUsage},
    {"labels", CommandLabels, kLabelsUsage},
    {"cards", CommandCards, kCardsUsage},
    {"passwords", CommandPasswords, kPasswordsUsage},
    {"web-switches", CommandWebSwitches, kWebSwitchesUsage},
    {"web-grants", CommandWebGrants, kWebGrantsUsage},
#endif
};

void PrintCommands(std::ostream& out) {
    out << "使い方:\n";
    for (const auto& command : kCommands) out << "  kashidashi-admin " << command.usage << "\n";
    out << "  kashidashi-admin --help\n";
    out << "  kashidashi-admin --version\n";
}

bool IsHelp(const std::string& word) {
    return word == "--help" || word == "help" || word == "-h";
}

}  // namespace

int Main(int argc, char** argv) {
    if (argc < 2) {
        PrintCommands(std::cerr);
        return 2;
    }
    std::string name = argv[1];
    if (IsHelp(name)) {
        PrintCommands(std::cout);
        return 0;
    }
    if (name == "--version") {
        std::cout << "kashidashi-admin " << kVersion << "\n";
        return 0;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    for (const auto& command : kCommands)
        if (name == command.name) return command.run(args, std::cout, std::cerr);
    std::cerr << "知らないコマンドです: " << name << "\n";
    PrintCommands(std::cerr);
    return 2;
}

}  // namespace kashidashi::admin

int main(int argc, char** argv) {
    return kashidashi::admin::Main(argc, argv);
}
