// The pupils' web pages (kashidashi-opac) from the command line:
//
// passwords PLACE (--user NUMBER|--class CODE|--all) [--school TEXT]
//           [--url ADDRESS] --pdf FILE
//   gives the chosen users new passwords and writes their slips (six to an
//   A4 page, a class after another) as a PDF. The old passwords stop at
//   once. The passwords are written nowhere else: print the PDF and delete it.
//
// web-switches PLACE [--pupil-page on|off] [--reading-record on|off]
//              [--other-schools on|off] [--reservation-limit N]
//   turns the school's switches (library/accounts/web_switches.h) on or
//   off and prints them all.
//
// web-grants DATABASE ROLE
//   prints the SQL that gives a server's catalogue role what it may do on a
//   school's database: read every table, add and delete reservations, set
//   a book's reservation mark, and keep the web accounts. For the server's
//   superuser (psql).
//
// Exit 0 done, 1 failed (nothing changed), 2 wrong use.
#include <iostream>

#include "engine/common/dates.h"
#include "library/accounts/password_slips.h"
#include "library/accounts/web_accounts.h"
#include "library/accounts/web_grants.h"
#include "library/accounts/web_switches.h"
#include "library/data_place.h"
#include "library/labels/cards.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/command_options.h"
#include "tools/data_folder.h"
#include "tools/gui_application.h"
#include "tools/label_output.h"
#include "tools/library_place.h"

namespace kashidashi::admin {
namespace {

int Usage(std::ostream& err, const char* usage, const std::string& problem) {
    if (!problem.empty()) err << problem << "\n";
    err << "使い方: kashidashi-admin " << usage << "\n";
    return kExitUsage;
}

std::vector<library::CardUser> ChosenUsers(engine::storage::Connection& connection,
                                           const CommandOptions& options) {
    if (auto number = options.Value("--user")) {
        auto user = accounts::FindWebUser(connection, *number);
        if (!user) throw AdminError("利用者番号 " + *number + " の人はいません。");
        auto all = library::UsersOfClass(connection, user->classCode);
        for (const auto& one : all)
            if (one.nameId == user->nameId) return {one};
        return {{user->nameId, user->pupilNo, user->name, ""}};
    }
    if (auto code = options.Value("--class")) {
        int64_t classCode = 0;
        try {
            size_t used = 0;
            classCode = std::stoll(*code, &used);
            if (used != code->size()) throw std::invalid_argument(*code);
        } catch (const std::exception&) {
            throw AdminError("--class には所属コード（数字）を書いてください。");
        }
        return library::UsersOfClass(connection, classCode);
    }
    return library::UsersOfClass(connection, std::nullopt);
}

int Issue(const CommandOptions& options, std::ostream& err) {
    library::PlaceConnection connection(RequirePlace(options.positional[0], false));
    auto users = ChosenUsers(*connection, options);
    if (users.empty()) throw AdminError("パスワードを発行する利用者がいません。");
    EnsureGuiApplication();  // the slips' layout is in the program's resources
    err << users.size() << " 人にパスワードを発行します。\n";
    auto slips = accounts::IssueSlips(*connection, users, engine::Now(), [&](size_t done) {
        if (done % 20 == 0 || done == users.size())
            err << "  " << done << " / " << users.size() << " 人\n";
    });
    auto report = accounts::PasswordSlipsReport(slips, options.Value("--school").value_or(""),
                                                options.Value("--url").value_or(""));
    WriteLabelsPdf(report, *options.Value("--pdf"));
    err << "パスワードの紙 " << slips.size() << " 枚（" << report.pages.size() << " ページ）を "
        << *options.Value("--pdf")
        << " に書き出しました。印刷して配ったら、このファイルは消してください。\n";
    return kExitDone;
}

std::optional<bool> OnOff(const std::optional<std::string>& text, const char* name) {
    if (!text) return std::nullopt;
    if (*text == "on") return true;
    if (*text == "off") return false;
    throw WrongUse(std::string(name) + " には on か off を書いてください。");
}

int Switches(const CommandOptions& options, std::ostream& out) {
    library::PlaceConnection connection(RequirePlace(options.positional[0], false));
    accounts::EnsureWebTables(*connection);
    auto switches = accounts::ReadWebSwitches(*connection);
    auto pupil = OnOff(options.Value("--pupil-page"), "--pupil-page");
    auto record = OnOff(options.Value("--reading-record"), "--reading-record");
    auto others = OnOff(options.Value("--other-schools"), "--other-schools");
    auto limit = options.Value("--reservation-limit");
    if (pupil || record || others || limit) {
        if (pupil) switches.pupilPage = *pupil;
        if (record) switches.readingRecord = *record;
        if (others) switches.otherSchools = *others;
        if (limit) {
            try {
                switches.reservationLimit = std::stoi(*limit);
            } catch (const std::exception&) {
                throw WrongUse("--reservation-limit には1から20までの数を書いてください。");
            }
        }
        try {
            accounts::WriteWebSwitches(*connection, switches);
        } catch (const std::invalid_argument& error) {
            throw WrongUse(error.what());
        }
    }
    out << accounts::SwitchesText(accounts::ReadWebSwitches(*connection)) << "\n";
    return kExitDone;
}

}  // namespace

int CommandPasswords(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    (void)out;
    auto options =
        ParseOptions(args, {"--user", "--class", "--school", "--url", "--pdf"}, {"--all"});
    if (!options || options->positional.size() != 1) return Usage(err, kPasswordsUsage, "");
    const int chosen = (options->Value("--user") ? 1 : 0) + (options->Value("--class") ? 1 : 0) +
                       (options->flags.count("--all") ? 1 : 0);
    if (chosen != 1)
        return Usage(err, kPasswordsUsage,
                     "--user、--class、--all のどれか一つを指定してください。");
    if (!options->Value("--pdf"))
        return Usage(err, kPasswordsUsage, "書き出す PDF ファイルを --pdf で指定してください。");
    return RunCommand(options->positional, 1, kPasswordsUsage, err, [&] {
        return UnlessWrongUse(kPasswordsUsage, err, [&] { return Issue(*options, err); });
    });
}

int CommandWebSwitches(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto options = ParseOptions(
        args, {"--pupil-page", "--reading-record", "--other-schools", "--reservation-limit"});
    if (!options || options->positional.size() != 1) return Usage(err, kWebSwitchesUsage, "");
    return RunCommand(options->positional, 1, kWebSwitchesUsage, err, [&] {
        return UnlessWrongUse(kWebSwitchesUsage, err, [&] { return Switches(*options, out); });
    });
}

int CommandWebGrants(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) return Usage(err, kWebGrantsUsage, "");
    try {
        out << accounts::CatalogueGrants(args[0], args[1]);
    } catch (const std::invalid_argument& error) {
        return Usage(err, kWebGrantsUsage, error.what());
    }
    return kExitDone;
}

}  // namespace kashidashi::admin
