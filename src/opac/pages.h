// The routes of each group of pages, each in a file of its own; routes.cpp
// calls them all. A new group of pages adds one function here and one line
// in routes.cpp.
#pragma once

#include "opac/router.h"

namespace kashidashi::opac {

void AddSearchRoutes(Router& router);  // pages_search.cpp: /
void AddBookRoutes(Router& router);    // pages_book.cpp: /book/{id}
void AddListRoutes(Router& router);    // pages_lists.cpp: /new, /popular
void AddCommonRoutes(Router& router);
void AddPupilRoutes(Router& router);  // pages_pupil*.cpp: /login, /me, /reserve, ...  //
                                      // pages_common.cpp: /furigana, /static/opac.css

}  // namespace kashidashi::opac
