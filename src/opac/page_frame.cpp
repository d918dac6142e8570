#include "opac/page_frame.h"

#include "opac/pupil_hooks.h"
#include "opac/resources.h"
#include "opac/say.h"

namespace kashidashi::opac {

namespace {

std::string Here(const Request& request) {
    std::string here = request.path;
    char separator = '?';
    for (const auto& [name, value] : request.query) {
        here += separator + UrlEncode(name) + "=" + UrlEncode(value);
        separator = '&';
    }
    return here;
}

}  // namespace

Html View::Say(std::string_view annotated) const {
    return opac::Say(annotated, furigana);
}

Html View::SayText(std::string_view annotated) const {
    return Html::Escape(Spoken(annotated, furigana));
}

View ViewOf(const Request& request) {
    return View{*request.site, request.Cookie(kFuriganaCookie) == "1", Here(request)};
}

Response PageResponse(const View& view, const std::string& title, const Html& content, int status) {
    Html nav = Link(view.Url("/"), view.Say("{本|ほん}をさがす")) +
               Link(view.Url("/new"), view.Say("{新|あたら}しく{入|はい}った{本|ほん}")) +
               Link(view.Url("/popular"), view.Say("よく{読|よ}まれている{本|ほん}")) +
               PupilNavLink(view);
    std::string switchTo =
        view.Url("/furigana?on=") + (view.furigana ? "0" : "1") + "&back=" + UrlEncode(view.here);
    Html page =
        Fill(PageTemplate(), {{"title", Html::Escape(title)},
                              {"school", Html::Escape(view.site.Name())},
                              {"css", Html::Escape(view.Url("/static/opac.css"))},
                              {"mode", Html::Markup(view.furigana ? "furigana" : "plain")},
                              {"home", Html::Escape(view.Url("/"))},
                              {"catalogue", view.Say("{蔵書|ぞうしょ}{検索|けんさく}")},
                              {"nav", nav},
                              {"switch", Html::Escape(switchTo)},
                              {"switchLabel", view.furigana ? view.Say("ふりがなを{消|け}す")
                                                            : view.Say("ふりがなをつける")},
                              {"main", content}});
    return Response::Html(page.str(), status);
}

}  // namespace kashidashi::opac
