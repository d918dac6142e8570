// One desk of the load driver (bench/load): the real desk (desk::Desk,
// window-free, as kashidashi-admin scans runs it) serving its own stream of
// users at a counter's pace for a set time, each scan timed from the moment
// it is fed to the moment the desk has answered.
//
// The data module must point at the school and at this desk's own settings
// folder (the pick list is held by one desk only) before Serve runs.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kashidashi::load {

struct Counter {
    int seconds = 10;
    int paceMs = 2000;
    int desk = 0;         // this desk's place among the school's desks, from 0
    int schoolDesks = 1;  // the desks serving the same school
    unsigned seed = 1;
};

struct Tally {
    std::vector<double> ms;               // one per scan, in order
    std::map<std::string, int> errors;    // engine failures by code
    std::map<std::string, int> expected;  // the specified lock / on-loan messages
    std::map<std::string, int> answers;   // every other message the desk showed
};

// Serves users until the time is up; never throws for a failed scan (it is
// counted), only when the desk cannot be opened at all.
Tally Serve(const Counter& counter);

}  // namespace kashidashi::load
