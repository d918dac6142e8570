// A small school for the tests of the librarian's year: the data tables in a
// folder of the test, two classes and the staff, five users, six books and
// loans around June 2025 (see year_fixture.cpp), and a connection to it.
#pragma once

#include <memory>
#include <string>

#include "library/data_place.h"
#include "support/app_fixture.h"

namespace library_test {

class YearFixture : public kx_test::AppFixture {
  protected:
    void SetUp() override;
    // The school's tables and rows in `folder` (made first).
    void MakeSchool();
    engine::storage::Connection& Connection();
    void TearDown() override;

    std::string data;
    std::unique_ptr<kashidashi::library::PlaceConnection> connection;
};

}  // namespace library_test
