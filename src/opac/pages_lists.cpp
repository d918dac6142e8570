// The lists pupils browse: /new 新しく入った本 (works registered in the last
// 30 days, newest first) and /popular よく読まれている本 (the works lent most
// in the last 90 days), each for everyone or a grade group:
//   ?grade=low 低学年 (1・2年), mid 中学年 (3・4年), high 高学年 (5・6年).
#include "engine/common/dates.h"
#include "opac/app.h"
#include "opac/book_summary.h"
#include "opac/page_frame.h"
#include "opac/pages.h"
#include "opac/popular.h"
#include "opac/say.h"

namespace kashidashi::opac {

namespace {

constexpr int kNewDays = 30;
constexpr int kListLength = 40;

struct GradeTab {
    const char* key;
    const char* label;
    GradeGroup group;
};

const GradeTab kTabs[] = {{"", "みんな", GradeGroup::All},
                          {"low", "{低学年|ていがくねん}", GradeGroup::Low},
                          {"mid", "{中学年|ちゅうがくねん}", GradeGroup::Middle},
                          {"high", "{高学年|こうがくねん}", GradeGroup::High}};

const GradeTab* TabOf(const Request& request) {
    std::string key = request.Query("grade");
    for (const auto& tab : kTabs)
        if (key == tab.key) return &tab;
    return nullptr;
}

Html Tabs(const View& view, const std::string& path, const GradeTab& current) {
    Html items;
    for (const auto& tab : kTabs) {
        Html label = view.Say(tab.label);
        std::string url = view.Url(path) + (tab.key[0] ? std::string("?grade=") + tab.key : "");
        items += Tag("li", &tab == &current ? Tag("span", label) : Link(url, label));
    }
    return Tag("ul", items, "class=\"tabs\"");
}

Response ListPage(Request& request, const std::string& path, const char* title,
                  const std::vector<SearchHit>& hits, const GradeTab& tab, const char* none) {
    View view = ViewOf(request);
    Html content = Tag("h1", view.Say(title)) + Tabs(view, path, tab);
    if (hits.empty()) {
        content += Tag("p", view.Say(none), "class=\"count\"");
    } else {
        auto data = view.site.Data().Take();
        content += WorkList(view, *data, hits);
    }
    return PageResponse(view, Plain(title), content);
}

Response NewPage(Request& request) {
    const GradeTab* tab = TabOf(request);
    if (!tab) return ErrorPage(404);
    auto since = engine::Today().days - kNewDays;
    auto hits =
        request.site->Lists().NewWorks(request.site->Index(), since, kListLength, tab->group);
    return ListPage(request, "/new", "{新|あたら}しく{入|はい}った{本|ほん}", hits, *tab,
                    "この30{日|にち}に{入|はい}った{本|ほん}はありません。");
}

Response PopularPage(Request& request) {
    const GradeTab* tab = TabOf(request);
    if (!tab) return ErrorPage(404);
    auto hits = request.site->Lists().MostRead(tab->group, kListLength);
    return ListPage(request, "/popular", "よく{読|よ}まれている{本|ほん}", hits, *tab,
                    "まだありません。");
}

}  // namespace

void AddListRoutes(Router& router) {
    router.Get("/new", NewPage);
    router.Get("/popular", PopularPage);
}

}  // namespace kashidashi::opac
