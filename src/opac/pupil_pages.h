// What the pupils' pages share: the own page's routes (pages_pupil_own.cpp,
// added by AddPupilRoutes of pages_pupil.cpp), a page with one message and
// the way back, and the answer to a form without its token.
#pragma once

#include <string>

#include "opac/page_frame.h"
#include "opac/router.h"

namespace kashidashi::opac {

void AddOwnPageRoutes(Router& router);

// A page with a title and a message (both annotated texts) and links to the own page and to
// the search.
Response MessagePage(const View& view, const std::string& title, const std::string& message,
                     int status = 200);

// 403: a changing form without the session's token (another site's form,
// an old page): nothing was changed.
Response RefusedForm(const View& view);

}  // namespace kashidashi::opac
