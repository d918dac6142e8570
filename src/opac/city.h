// A city's schools in one catalogue: a list of schools (a file whose name
// ends in ".schools", given in place of the data place), each served under
// "/s/ID/" from its own database with its own role, "/" listing them all.
// A school that turns on "other_schools" (web-switches) shows on a book's
// page the other such schools that hold the same ISBN and whether a copy
// is on their shelf: "他の学校にもあります".
//
// The list, one school a line (UTF-8; "#" begins a comment line):
//   ID <TAB> school name <TAB> data place [<TAB> the role's password]
// ID: lower-case letters, digits, "-" and "_" (the address's part). Keep
// the file readable by the service alone: it holds the passwords.
#pragma once

#include <string>
#include <vector>

#include "opac/html.h"
#include "opac/http.h"
#include "opac/page_frame.h"
#include "opac/site.h"

namespace kashidashi::opac {

struct CitySchool {
    std::string id, name, data, password;
};

bool IsCityList(const std::string& data);
// Throws std::runtime_error naming the line of a mistake.
std::vector<CitySchool> ReadCitySchools(const std::string& file);
// The opener of a school's connections (folder or server, the password of
// the list or else KASHIDASHI_PASSWORD).
ConnectionPool::Opener CityOpener(const CitySchool& school);

// The schools the catalogue serves, for "/" and the other schools' books.
void SetCitySites(Sites* sites);
// "/" when no school is served there: the list of the schools.
Response SchoolsPage(Request& request);
// The other schools holding `isbn`, when this school and they allow it.
Html OtherSchools(const View& view, const std::string& isbn);

}  // namespace kashidashi::opac
