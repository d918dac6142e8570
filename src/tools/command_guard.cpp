#include "tools/command_guard.h"

#include <exception>

#include "data/failure_text.h"

namespace kashidashi::admin {

int RunCommand(const std::vector<std::string>& args, size_t count, const std::string& usage,
               std::ostream& err, const std::function<int()>& work) {
    if (args.size() != count) {
        err << "使い方: kashidashi-admin " << usage << "\n";
        return kExitUsage;
    }
    try {
        return work();
    } catch (const std::exception& e) {
        // Engine errors in plain Japanese; data set errors and our own carry
        // their text for the operator.
        err << FailureText(e) << "\n";
        return kExitFailed;
    }
}

}  // namespace kashidashi::admin
