// Japanese names for the demo school: pupils, staff and authors, each with
// its reading in katakana. Every character is one that CP932 holds, and a
// name takes at most 20 bytes (the size of Name.NAME).
#pragma once

#include <random>
#include <set>
#include <string>

namespace kashidashi::admin {

struct PersonName {
    std::string name;     // family and given name, a full-width blank between
    std::string reading;  // the same in katakana
};

constexpr int kMale = 1;
constexpr int kFemale = 2;

// Draws names from the generator; no name is given twice by one picker.
class NamePicker {
  public:
    explicit NamePicker(std::mt19937& random) : random_(random) {}
    PersonName Child(int sex);
    PersonName Adult(int sex);
    // A name that may have been given before (many names in a large school).
    PersonName Any(int sex, bool child);

  private:
    PersonName Unique(int sex, bool child);

    std::mt19937& random_;
    std::set<std::string> used_;
};

}  // namespace kashidashi::admin
