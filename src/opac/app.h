// The catalogue's answer to one checked request: the school its path names
// ("/s/ID/..." or the one at "/"), the route of the rest of the path, and
// the page. A page that fails answers 500 with a plain Japanese page; the
// failure goes to the log without the request's fields.
#pragma once

#include "opac/http.h"
#include "opac/router.h"
#include "opac/site.h"

namespace kashidashi::opac {

class App {
  public:
    explicit App(Sites& sites);
    Response Handle(Request& request) const;
    Router& Routes() { return router_; }

  private:
    Sites& sites_;
    Router router_;
};

// A short page for an error status (400, 404, 405, 413, 414, 500...), never
// echoing what the client sent.
Response ErrorPage(int status);

}  // namespace kashidashi::opac
