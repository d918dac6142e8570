// The catalogue and roll from the command line (library/holdings):
//   export-users FOLDER FILE.csv     every user, as import-users reads it back
//   export-books FOLDER FILE.csv     every book, as import-books reads it back
//   users FOLDER add --name NAME [--id ID] [--pupil NO] [--class CODE]
//   users FOLDER edit ID [--name NAME] [--pupil NO|--pupil ""] [--class CODE]
//   users FOLDER leave ID [--date yyyy/mm/dd]
//   books FOLDER discard BOOK [--reason TEXT] [--date yyyy/mm/dd]
//   books FOLDER restore BOOK
//   forget-leavers FOLDER --years N [--apply]
// Refusals are said in plain Japanese with exit status 1, nothing changed.
#include <fstream>

#include "engine/common/dates.h"
#include "library/holdings/books.h"
#include "library/holdings/columns.h"
#include "library/holdings/forget_leavers.h"
#include "library/holdings/holdings_csv.h"
#include "library/holdings/roll.h"
#include "platform/cp932.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/command_options.h"
#include "tools/data_folder.h"
#include "tools/date_option.h"
#include "tools/library_place.h"

namespace kashidashi::admin {
namespace {

namespace holdings = library::holdings;

int Usage(const char* usage, std::ostream& err) {
    err << "使い方: kashidashi-admin " << usage << "\n";
    return kExitUsage;
}

// Runs `work` on a connection to the place; a refusal of the rules is
// printed with exit status 1.
template <class Work>
int OnPlace(const std::string& placeText, const char* usage, std::ostream& err, Work work) {
    return RunCommand({placeText}, 1, usage, err, [&] {
        library::PlaceConnection connection(RequirePlace(placeText, false));
        try {
            return work(*connection);
        } catch (const holdings::Refused& refused) {
            err << refused.what() << "\n何も変えていません。\n";
            return kExitFailed;
        }
    });
}

engine::Date DayOf(const CommandOptions& options) {
    auto text = options.Value("--date");
    if (!text) return engine::Today();
    std::string problem;
    auto day = DateOption(*text, problem);
    if (!day) throw AdminError(problem);
    return *day;
}

int64_t NumberOf(const std::string& text, const char* what) {
    try {
        size_t used = 0;
        const int64_t number = std::stoll(holdings::TypedNumber(text), &used);
        if (used == holdings::TypedNumber(text).size() && number > 0) return number;
    } catch (const std::exception&) {
    }
    throw AdminError(std::string(what) + "「" + text + "」は数ではありません。");
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    file.close();
    if (!file) throw AdminError("ファイル「" + path + "」に書けません。");
}

std::optional<int64_t> ClassOf(const CommandOptions& options) {
    auto code = options.Value("--class");
    if (!code || code->empty()) return std::nullopt;
    return NumberOf(*code, "所属コード");
}

void ApplyUserOptions(const CommandOptions& options, holdings::RollUser& user) {
    if (auto name = options.Value("--name")) user.name = *name;
    if (auto pupil = options.Value("--pupil")) user.pupilNo = holdings::TypedNumber(*pupil);
    if (options.Value("--class")) user.classCode = ClassOf(options);
}

int UserCommand(const CommandOptions& options, std::ostream& out, std::ostream& err) {
    const auto& words = options.positional;
    const std::string action = words.size() > 1 ? words[1] : "";
    if (action == "add" && words.size() == 2) {
        return OnPlace(words[0], kUsersUsage, err, [&](engine::storage::Connection& connection) {
            holdings::RollUser user;
            user.nameId = options.Value("--id") ? holdings::TypedNumber(*options.Value("--id"))
                                                : holdings::NextFixedNumber(connection);
            ApplyUserOptions(options, user);
            auto check = holdings::CheckUser(connection, user, std::nullopt);
            for (const auto& warning : check.warnings) err << "注意: " << warning << "\n";
            holdings::AddUser(connection, user);
            out << "利用者を追加しました: 固定番号 " << user.nameId << " " << user.name << "\n";
            return kExitDone;
        });
    }
    if ((action == "edit" || action == "leave") && words.size() == 3) {
        return OnPlace(words[0], kUsersUsage, err, [&](engine::storage::Connection& connection) {
            const std::string id = holdings::TypedNumber(words[2]);
            auto user = holdings::ReadUser(connection, id);
            if (!user) throw holdings::Refused("固定番号 " + id + " の利用者はいません");
            if (action == "leave") {
                holdings::MarkLeft(connection, id, DayOf(options));
                out << user->name << " さんを卒業・転出にしました\n";
                return kExitDone;
            }
            ApplyUserOptions(options, *user);
            holdings::EditUser(connection, *user);
            out << "利用者を変更しました: 固定番号 " << id << " " << user->name << "\n";
            return kExitDone;
        });
    }
    return Usage(kUsersUsage, err);
}

int BookCommand(const CommandOptions& options, std::ostream& out, std::ostream& err) {
    const auto& words = options.positional;
    const std::string action = words.size() > 1 ? words[1] : "";
    if ((action != "discard" && action != "restore") || words.size() != 3)
        return Usage(kBooksUsage, err);
    return OnPlace(words[0], kBooksUsage, err, [&](engine::storage::Connection& connection) {
        const int64_t number = NumberOf(words[2], "図書番号");
        if (action == "discard") {
            holdings::DiscardBook(connection, number, DayOf(options),
                                  options.Value("--reason").value_or(""));
            out << "図書番号 " << number << " を除籍しました\n";
        } else {
            holdings::RestoreBook(connection, number, DayOf(options));
            out << "図書番号 " << number << " の除籍を取り消しました\n";
        }
        return kExitDone;
    });
}

}  // namespace

int CommandExportUsers(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) return Usage(kExportUsersUsage, err);
    return OnPlace(args[0], kExportUsersUsage, err, [&](engine::storage::Connection& connection) {
        WriteFile(args[1], platform::ToCp932(holdings::UsersCsv(connection)));
        out << "利用者を「" << args[1] << "」に書き出しました\n";
        return kExitDone;
    });
}

int CommandExportBooks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) return Usage(kExportBooksUsage, err);
    return OnPlace(args[0], kExportBooksUsage, err, [&](engine::storage::Connection& connection) {
        WriteFile(args[1], platform::ToCp932(holdings::BooksCsv(connection)));
        out << "図書を「" << args[1] << "」に書き出しました\n";
        return kExitDone;
    });
}

int CommandUsers(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto options = ParseOptions(args, {"--name", "--id", "--pupil", "--class", "--date"});
    if (!options || options->positional.empty()) return Usage(kUsersUsage, err);
    return UserCommand(*options, out, err);
}

int CommandBooks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto options = ParseOptions(args, {"--reason", "--date"});
    if (!options || options->positional.empty()) return Usage(kBooksUsage, err);
    return BookCommand(*options, out, err);
}

int CommandForgetLeavers(const std::vector<std::string>& args, std::ostream& out,
                         std::ostream& err) {
    auto options = ParseOptions(args, {"--years"}, {"--apply"});
    if (!options || options->positional.size() != 1 || !options->Value("--years"))
        return Usage(kForgetLeaversUsage, err);
    return OnPlace(
        options->positional[0], kForgetLeaversUsage, err,
        [&](engine::storage::Connection& connection) {
            const int years = static_cast<int>(NumberOf(*options->Value("--years"), "年数"));
            const bool apply = options->flags.count("--apply") > 0;
            auto plan = apply ? holdings::ForgetLeavers(connection, years, engine::Today())
                              : holdings::PlanForgetLeavers(connection, years, engine::Today());
            out << plan.users.size() << " 人の返却済みの貸出 " << plan.loans << " 件"
                << (apply ? "から借りた人を消しました" : "から借りた人を消します") << "\n";
            if (!apply) err << "まだ何も変えていません（--apply で実行します）。\n";
            return kExitDone;
        });
}

}  // namespace kashidashi::admin
