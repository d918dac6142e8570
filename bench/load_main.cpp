// kx_load: one desk of the load driver (bench/load runs many at once).
//
//   kx_load LOCATION SETTINGS_DIR SECONDS PACE_MS DESK SCHOOL_DESKS SEED OUT
//
// LOCATION is a data folder or server://USER@HOST:PORT/DATABASE (password in
// KASHIDASHI_PASSWORD); SETTINGS_DIR this desk's own program folder. OUT gets
// one line per scan, "ms <milliseconds>", then "error <code>\t<count>",
// "expected <message>\t<count>" and "answer <message>\t<count>" lines.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "data/U_DM.h"
#include "load_desk.h"
#include "tools/replay_desk.h"

namespace {

using namespace kashidashi;

void Write(const load::Tally& tally, const std::string& path) {
    std::ofstream out(path);
    for (double ms : tally.ms) out << "ms " << ms << '\n';
    for (auto& [code, count] : tally.errors) out << "error " << code << '\t' << count << '\n';
    for (auto& [text, count] : tally.expected) out << "expected " << text << '\t' << count << '\n';
    for (auto& [text, count] : tally.answers) out << "answer " << text << '\t' << count << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 9) {
        std::cerr
            << "usage: kx_load LOCATION SETTINGS_DIR SECONDS PACE_MS DESK SCHOOL_DESKS SEED OUT\n";
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[2]);
        admin::PrepareDesk(argv[1], std::filesystem::absolute(argv[2]).string());
        load::Counter counter{std::stoi(argv[3]), std::stoi(argv[4]), std::stoi(argv[5]),
                              std::stoi(argv[6]), static_cast<unsigned>(std::stoul(argv[7]))};
        Write(load::Serve(counter), argv[8]);
    } catch (const std::exception& error) {
        std::cerr << "kx_load: " << error.what() << '\n';
        std::ofstream(argv[8]) << "error open " << error.what() << "\t1\n";
        return 1;
    }
    TDM::Destroy();
    return 0;
}
