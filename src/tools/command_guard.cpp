#include "tools/command_guard.h"

#include <exception>

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
        // Engine errors, data set errors and our own all carry a text for
        // the operator.
        err << e.what() << "\n";
        return kExitFailed;
    }
}

}  // namespace kashidashi::admin
