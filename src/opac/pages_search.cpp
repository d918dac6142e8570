// The search page, the catalogue's home: "/" with the form alone, and with
// its fields filled the works found, 20 a page.
//
//   q      the words, ANDed (at most kMaxWordsBytes; more is answered 414)
//   shelf  0-9 an NDC main class, 11 絵本, 12 洋書; empty: all
//   place  a storage place's code (HKN_ID); empty: all
//   avail  1: 借りられる本だけ
//   order  new (newest first, the default) or title
//   page   1 to kMaxPage (more is answered 400)
#include <charconv>

#include "opac/app.h"
#include "opac/book_summary.h"
#include "opac/page_frame.h"
#include "opac/pages.h"
#include "opac/router.h"
#include "opac/say.h"

namespace kashidashi::opac {

namespace {

constexpr size_t kMaxWordsBytes = 256;
constexpr int kMaxPage = 500;

const char* kShelves[] = {"0 {総記|そうき}",
                          "1 {哲学|てつがく}",
                          "2 {歴史|れきし}",
                          "3 {社会|しゃかい}",
                          "4 {自然|しぜん}{科学|かがく}",
                          "5 {技術|ぎじゅつ}",
                          "6 {産業|さんぎょう}",
                          "7 {芸術|げいじゅつ}",
                          "8 {言語|げんご}",
                          "9 {文学|ぶんがく}"};

std::optional<int64_t> Number(const std::string& text) {
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

Html Option(const std::string& value, const Html& label, bool selected) {
    return Html::Markup("<option value=\"") + Html::Escape(value) +
           Html::Markup(selected ? "\" selected>" : "\">") + label + Html::Markup("</option>");
}

Html SearchForm(const View& view, const SearchQuery& query, const CodeNames& codes) {
    Html shelves = Option("", view.SayText("すべての{分類|ぶんるい}"), query.shelf < 0);
    for (int i = 0; i < 10; ++i)
        shelves += Option(std::to_string(i), view.SayText(kShelves[i]), query.shelf == i);
    shelves += Option("11", view.SayText("{絵本|えほん}"), query.shelf == kPictureBooks);
    shelves += Option("12", view.SayText("{洋書|ようしょ}"), query.shelf == kForeignBooks);
    Html places = Option("", view.SayText("すべての{場所|ばしょ}"), query.place < 0);
    for (const auto& [code, name] : codes.place)
        places += Option(std::to_string(code), Html::Escape(name), query.place == code);
    Html orders = Option("new", view.SayText("{新|あたら}しい{順|じゅん}"),
                         query.order == SearchQuery::Order::Newest) +
                  Option("title", view.SayText("{書名|しょめい}の{順|じゅん}"),
                         query.order == SearchQuery::Order::Title);
    return Html::Markup("<form class=\"search\" method=\"get\" action=\"") +
           Html::Escape(view.Url("/")) + Html::Markup("\" role=\"search\"><div class=\"words\">") +
           Html::Markup("<input type=\"search\" name=\"q\" maxlength=\"100\" aria-label=\"") +
           Html::Escape(Plain("さがすことば")) + Html::Markup("\" placeholder=\"") +
           view.SayText("{書名|しょめい}・{作者|さくしゃ}・よみ") + Html::Markup("\" value=\"") +
           Html::Escape(query.words) + Html::Markup("\"><button type=\"submit\">") +
           view.Say("さがす") + Html::Markup("</button></div><fieldset>") +
           Tag("label", view.Say("{分類|ぶんるい}") + Tag("select", shelves, "name=\"shelf\"")) +
           Tag("label", view.Say("{場所|ばしょ}") + Tag("select", places, "name=\"place\"")) +
           Tag("label", view.Say("{順番|じゅんばん}") + Tag("select", orders, "name=\"order\"")) +
           Tag("label",
               Html::Markup(query.lendableOnly
                                ? "<input type=\"checkbox\" name=\"avail\" value=\"1\" checked>"
                                : "<input type=\"checkbox\" name=\"avail\" value=\"1\">") +
                   view.Say("{借|か}りられる{本|ほん}だけ")) +
           Html::Markup("</fieldset></form>");
}

// The address of another page of the same search.
std::string PageUrl(const View& view, const Request& request, int page) {
    std::string url = view.Url("/?");
    for (const auto& [name, value] : request.query)
        if (name != "page") url += UrlEncode(name) + "=" + UrlEncode(value) + "&";
    return url + "page=" + std::to_string(page);
}

Html Pager(const View& view, const Request& request, const SearchQuery& query, int64_t total) {
    int64_t last = std::min<int64_t>((total + query.perPage - 1) / query.perPage, kMaxPage);
    if (last <= 1) return {};
    Html links;
    if (query.page > 1)
        links +=
            Link(PageUrl(view, request, query.page - 1), view.Say("← {前|まえ}"), "rel=\"prev\"");
    int from = std::max(1, query.page - 3);
    int to = static_cast<int>(std::min<int64_t>(last, query.page + 3));
    for (int p = from; p <= to; ++p)
        links += p == query.page ? Tag("span", Html::Escape(std::to_string(p)), "class=\"current\"")
                                 : Link(PageUrl(view, request, p), Html::Escape(std::to_string(p)));
    if (query.page < last)
        links +=
            Link(PageUrl(view, request, query.page + 1), view.Say("{次|つぎ} →"), "rel=\"next\"");
    return Tag("nav", links, "class=\"pages\"");
}

Response SearchPage(Request& request) {
    View view = ViewOf(request);
    SearchQuery query;
    query.words = request.Query("q");
    if (query.words.size() > kMaxWordsBytes) return ErrorPage(414);
    std::string page = request.Query("page");
    if (!page.empty()) {
        auto number = Number(page);
        if (!number || *number < 1 || *number > kMaxPage) return ErrorPage(400);
        query.page = static_cast<int>(*number);
    }
    if (auto shelf = Number(request.Query("shelf"));
        shelf &&
        ((*shelf >= 0 && *shelf <= 9) || *shelf == kPictureBooks || *shelf == kForeignBooks))
        query.shelf = static_cast<int>(*shelf);
    if (auto place = Number(request.Query("place")); place && *place >= 0) query.place = *place;
    query.lendableOnly = request.Query("avail") == "1";
    if (request.Query("order") == "title") query.order = SearchQuery::Order::Title;

    CodeNames codes = view.site.Codes();
    Html content = Tag("h1", view.Say("{本|ほん}をさがす")) + SearchForm(view, query, codes);
    SearchResult found = view.site.Index().Search(query);
    if (found.searched) {
        if (found.total == 0) {
            content += Tag(
                "p", view.Say("{見|み}つかりませんでした。ことばを{変|か}えてためしてください。"),
                "class=\"count\"");
        } else {
            auto data = view.site.Data().Take();
            content += Tag("p",
                           Html::Escape(std::to_string(found.total)) +
                               view.Say("{件|けん}{見|み}つかりました"),
                           "class=\"count\"") +
                       WorkList(view, *data, found.hits) + Pager(view, request, query, found.total);
        }
    }
    return PageResponse(view, Plain("{本|ほん}をさがす"), content);
}

}  // namespace

void AddSearchRoutes(Router& router) {
    router.Get("/", SearchPage);
}

}  // namespace kashidashi::opac
