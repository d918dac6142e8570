// demo FOLDER [--books N] [--users N] [--loans N] [--reservations N]
// [--seed N]: init, then the demo school of demo_school.h, or with any size
// given the sized school of demo_sized.h (progress lines on `err`).
#include <charconv>

#include "engine/common/dates.h"
#include "tools/admin_commands.h"
#include "tools/command_guard.h"
#include "tools/command_options.h"
#include "tools/data_folder.h"
#include "tools/demo_school.h"
#include "tools/demo_sized.h"
#include "tools/init_folder.h"

namespace kashidashi::admin {
namespace {

void WriteTables(DataFolder& folder, const std::vector<DemoTable>& school) {
    for (const auto& demo : school) {
        auto table = folder.Table(demo.name);
        table->Open();
        exchange::AppendRows(*table, demo.rows);
        table->Close();
    }
}

int SmallSchool(const std::string& place, std::ostream& out) {
    DataFolder folder(place);
    RequireNoDataTables(folder);
    const auto school = DemoSchool(engine::Today());
    // Tables and rows together: a failure leaves the folder as it was.
    InOneTransaction(folder, [&] {
        CreateDataTables(folder);
        WriteTables(folder, school);
    });
    out << "デモの学校を作りました: 利用者 " << kDemoPupils + kDemoStaff << "人（児童 "
        << kDemoPupils << "人、職員 " << kDemoStaff << "人）、図書 " << kDemoBooks << "冊（"
        << kDemoTitles << "タイトル）: " << place << "\n";
    return kExitDone;
}

int SizedSchool(const std::string& place, const DemoSizes& sizes, std::ostream& out,
                std::ostream& err) {
    DataFolder folder(place);
    RequireNoDataTables(folder);
    DemoCounts made;
    // One transaction for all: a failure leaves the folder as it was.
    InOneTransaction(folder, [&] {
        CreateDataTables(folder);
        made = WriteSizedDemo(folder, sizes, engine::Today(), [&](const std::string& line) {
            err << "書き込み中: " << line << "\n";
        });
    });
    out << "デモの学校を作りました: 利用者 " << made.users << "人、図書 " << made.books << "冊（"
        << made.titles << "タイトル）、貸出 " << made.loans << "件（未返却 " << made.openLoans
        << "件、うち延滞 " << made.overdue << "件）、予約 " << made.reservations << "件: " << place
        << "\n";
    return kExitDone;
}

bool ReadSize(const CommandOptions& options, const char* name, int64_t& size) {
    const auto text = options.Value(name);
    if (!text) return true;
    const char* end = text->data() + text->size();
    auto [stop, fault] = std::from_chars(text->data(), end, size);
    return fault == std::errc() && stop == end && size >= 0;
}

}  // namespace

int CommandDemo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    auto options =
        ParseOptions(args, {"--books", "--users", "--loans", "--reservations", "--seed"});
    DemoSizes sizes;
    int64_t seed = sizes.seed;
    const bool read = options && ReadSize(*options, "--books", sizes.books) &&
                      ReadSize(*options, "--users", sizes.users) &&
                      ReadSize(*options, "--loans", sizes.loans) &&
                      ReadSize(*options, "--reservations", sizes.reservations) &&
                      ReadSize(*options, "--seed", seed) && seed <= 0xffffffffLL;
    if (!read) {
        err << "使い方: kashidashi-admin " << kDemoUsage << "\n";
        return kExitUsage;
    }
    sizes.seed = static_cast<uint32_t>(seed);
    return RunCommand(options->positional, 1, kDemoUsage, err, [&] {
        if (options->values.empty()) return SmallSchool(options->positional[0], out);
        return SizedSchool(options->positional[0], sizes, out, err);
    });
}

}  // namespace kashidashi::admin
