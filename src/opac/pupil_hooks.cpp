#include "opac/pupil_hooks.h"

#include "opac/city.h"
#include "opac/pupil_places.h"
#include "opac/pupil_session.h"

namespace kashidashi::opac {

Html PupilNavLink(const View& view) {
    if (!PupilPlaces::Instance().Switches(view.site.Id()).pupilPage) return Html();
    return Link(view.Url("/me"), view.Say("わたしのページ"));
}

Html PupilBookExtras(const View& view, const Request& request, int64_t book,
                     const std::string& isbn) {
    Html others = OtherSchools(view, isbn);
    auto context = PupilContextOf(request);
    if (!context) return others;
    auto who = CurrentUser(request, *context);
    if (!who)
        return others +
               Tag("p",
                   Link(view.Url("/login"),
                        view.Say("ログインすると、この{本|ほん}を{予約|よやく}できます。")),
                   "class=\"reserve\"");
    return Html::Markup("<form class=\"reserve\" method=\"post\" action=\"") +
           Html::Escape(view.Url("/reserve")) + Html::Markup("\">") +
           HiddenToken(who->session.formToken) +
           Html::Markup("<input type=\"hidden\" name=\"book\" value=\"") +
           Html::Escape(std::to_string(book)) + Html::Markup("\"><button type=\"submit\">") +
           view.Say("この{本|ほん}を{予約|よやく}する") + Html::Markup("</button></form>") + others;
}

}  // namespace kashidashi::opac
