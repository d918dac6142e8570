// The common frame of the data-folder commands: the usage check and the
// translation of every failure into a message and exit status 1.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kashidashi::admin {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// kExitUsage after printing "使い方: kashidashi-admin <usage>" when `args`
// has not exactly `count` words; otherwise the result of `work`, or
// kExitFailed after printing the message of any exception it throws.
int RunCommand(const std::vector<std::string>& args, size_t count, const std::string& usage,
               std::ostream& err, const std::function<int()>& work);

}  // namespace kashidashi::admin
