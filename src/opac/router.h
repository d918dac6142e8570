// The table of pages: a method and a path pattern to a handler. A pattern's
// segments are literal ("book") or a named part ("{id}") that takes one
// whole segment: "/book/{id}" answers "/book/123" with PathParam("id") "123".
// Paths are those within one school (the server takes "/s/SCHOOL" off first,
// see README). A path that no route has is 404; a path that has routes but
// not for the method is 405. HEAD is answered by the GET route.
//
// Pages add their routes in files of their own (routes.cpp calls each one),
// so new pages never need an edit of another page's file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "opac/http.h"

namespace kashidashi::opac {

using Handler = std::function<Response(Request&)>;

class Router {
  public:
    void Get(const std::string& pattern, Handler handler);
    void Post(const std::string& pattern, Handler handler);

    // The answer of the route for the request, its path params filled in;
    // nothing when no route matches (status 404 or 405 in `status`).
    const Handler* Find(Request& request, int& status) const;

  private:
    struct Route {
        std::string method;
        std::vector<std::string> segments;
        Handler handler;
    };
    void Add(std::string method, const std::string& pattern, Handler handler);
    std::vector<Route> routes_;
};

// Every route of the program (routes.cpp).
void AddAllRoutes(Router& router);

}  // namespace kashidashi::opac
