#include "library/backup/desk_presence.h"

#include <unistd.h>

#include <climits>
#include <stdexcept>

#include "engine/storage/desk_marks.h"

namespace kashidashi::library {

std::string MachineName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "";
    return name;
}

DeskPresence::DeskPresence(const DataPlace& place) {
    try {
        connection_ = std::make_unique<PlaceConnection>(place);
        announced_ = engine::storage::AnnounceDesk(**connection_, MachineName());
    } catch (const std::exception&) {
        connection_.reset();
    }
}

DeskPresence::~DeskPresence() = default;

std::vector<std::string> OpenDeskMachines(engine::storage::Connection& connection) {
    auto machines = engine::storage::OpenDesks(connection);
    for (auto& machine : machines)
        if (machine.empty()) machine = "名前のない端末";
    return machines;
}

void RefuseWhileDesksOpen(engine::storage::Connection& connection, const std::string& what) {
    auto machines = OpenDeskMachines(connection);
    if (machines.empty()) return;
    std::string names;
    for (const auto& machine : machines) names += (names.empty() ? "" : "、") + machine;
    throw std::runtime_error("貸出・返却の画面が開いています（" + names + "）。すべての端末で" +
                             "閉じてから、もう一度" + what + "してください。何も変えていません。");
}

}  // namespace kashidashi::library
