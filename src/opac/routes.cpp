#include "opac/pages.h"
#include "opac/router.h"

namespace kashidashi::opac {

void AddAllRoutes(Router& router) {
    AddSearchRoutes(router);
    AddBookRoutes(router);
    AddListRoutes(router);
    AddCommonRoutes(router);
    AddPupilRoutes(router);
}

}  // namespace kashidashi::opac
