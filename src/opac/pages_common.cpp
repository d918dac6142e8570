// What every page uses: the ふりがなモード switch and the style sheet.
//
//   /furigana?on=1&back=/book/12   sets (on=1) or clears (on=0) the mode in
//                                  a cookie and goes back to the page; `back`
//                                  must be an address of this site ("/..."),
//                                  anything else goes to the school's home.
//   /static/opac.css               the style sheet
#include "opac/page_frame.h"
#include "opac/pages.h"
#include "opac/resources.h"

namespace kashidashi::opac {

namespace {

Response Switch(Request& request) {
    View view = ViewOf(request);
    std::string back = request.Query("back");
    // Only a path of this school: never "//host" or "/\host", which browsers
    // read as another site.
    bool local = back.size() > 0 && back[0] == '/' &&
                 (back.size() == 1 || (back[1] != '/' && back[1] != '\\'));
    Response response = Response::Redirect(view.Url(local ? back : "/"));
    bool on = request.Query("on") == "1";
    response.headers.emplace_back("Set-Cookie",
                                  std::string(kFuriganaCookie) +
                                      (on ? "=1; Max-Age=31536000" : "=0; Max-Age=0") +
                                      "; Path=/; HttpOnly; SameSite=Lax");
    return response;
}

Response Style(Request&) {
    Response response;
    response.contentType = "text/css; charset=utf-8";
    response.body = std::string(StyleSheet());
    response.headers.emplace_back("Cache-Control", "public, max-age=3600");
    return response;
}

}  // namespace

void AddCommonRoutes(Router& router) {
    router.Get("/furigana", Switch);
    router.Get("/static/opac.css", Style);
}

}  // namespace kashidashi::opac
