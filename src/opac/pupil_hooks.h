// What the pupils' pages add to the catalogue's own pages: the menu's link
// to the own page (when the school has turned the pupils' pages on), and on
// a book's page the form to reserve it (logged in) or a link to log in, and
// the other schools of the city that hold the same ISBN.
#pragma once

#include <cstdint>
#include <string>

#include "opac/html.h"
#include "opac/http.h"
#include "opac/page_frame.h"

namespace kashidashi::opac {

Html PupilNavLink(const View& view);
Html PupilBookExtras(const View& view, const Request& request, int64_t book,
                     const std::string& isbn);

}  // namespace kashidashi::opac
