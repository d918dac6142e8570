// The rules of the consistency check over rows already read: the findings,
// and what a repair sets. Pure functions.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "library/backup/check_data.h"

namespace kashidashi::library {

struct CheckFindings {
    std::vector<std::string> mendable;          // flags and counts: a repair sets them
    std::vector<std::string> unmendable;        // the rest
    std::map<int64_t, bool> bookFlags;          // book -> the flag its loans say
    std::map<std::string, int64_t> userCounts;  // user -> the count its loans say
    std::vector<int64_t> reservedFlags;         // books marked reserved that nobody reserves
};

CheckFindings FindProblems(const CheckData& data);

// "0000123": a book number as lists show it, seven digits at least.
std::string BookNumber(int64_t book);

}  // namespace kashidashi::library
