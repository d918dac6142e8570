// What every page shares: the school it is of, whether ふりがなモード is on
// (a cookie the switch sets), the page's own address (the switch comes back
// to it), and the frame around a page's content (resources/page.html) with
// the menu and the switch.
#pragma once

#include <string>
#include <string_view>

#include "opac/html.h"
#include "opac/http.h"
#include "opac/site.h"

namespace kashidashi::opac {

inline constexpr const char* kFuriganaCookie = "kx_furigana";

struct View {
    Site& site;
    bool furigana = false;
    std::string here;  // the page's address within the school, with its query

    // An address of this school's pages: Url("/book/12") -> "/s/ID/book/12".
    std::string Url(std::string_view path) const { return site.Base() + std::string(path); }
    Html Say(std::string_view annotated) const;
    // For an <option> or an attribute (say.h, Spoken), escaped.
    Html SayText(std::string_view annotated) const;
};

View ViewOf(const Request& request);

// A whole page; `title` is plain text (a fixed text through Plain()).
Response PageResponse(const View& view, const std::string& title, const Html& content,
                      int status = 200);

}  // namespace kashidashi::opac
