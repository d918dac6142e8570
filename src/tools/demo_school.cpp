#include "tools/demo_school.h"

#include <random>

#include "tools/demo_books.h"
#include "tools/demo_codes.h"
#include "tools/demo_users.h"

namespace kashidashi::admin {

std::vector<DemoTable> DemoSchool(engine::Date today) {
    // A fixed seed: the same school on every run. std::mt19937's sequence is
    // fixed by the C++ standard, and only its raw numbers are used.
    std::mt19937 random(20240408u);
    std::vector<DemoTable> tables;
    tables.push_back({"SYOZOKU", DemoClasses()});
    tables.push_back({"Name", DemoUsers(random)});
    tables.push_back({"NDC", DemoNdc()});
    tables.push_back({"HKN", DemoPlaces()});
    tables.push_back({"ZAIGEN", DemoFunds()});
    tables.push_back({"UKEIRE", DemoSources()});
    tables.push_back({"Book", DemoBooks(random, today)});
    tables.push_back({"Reg", DemoSettings()});
    return tables;
}

}  // namespace kashidashi::admin
