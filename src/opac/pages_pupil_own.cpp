// A user's own page and what they change from it (pupils' pages on only):
//
//   GET  /me        their loans (due dates, overdue marked), reservations
//                   (place in the queue, a button to cancel each), and the
//                   reading record when the school allows it. The session
//                   alone says whose page it is: no number in any address.
//   POST /reserve   book=N: reserves the title through the desk's rules
//   POST /cancel    book=N: cancels their own reservation of book N
//
// Every POST carries the session's form token (403 without it).
#include <charconv>
#include <iostream>

#include "engine/common/dates.h"
#include "engine/session/session.h"
#include "library/accounts/own_page.h"
#include "library/accounts/web_reservations.h"
#include "opac/app.h"
#include "opac/pupil_pages.h"
#include "opac/pupil_session.h"
#include "opac/pupil_texts.h"
#include "opac/say.h"

namespace kashidashi::opac {

namespace {

std::optional<int64_t> BookNumber(const std::string& text) {
    int64_t id = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || id < 0)
        return std::nullopt;
    return id;
}

Html BookLink(const View& view, int64_t book, const std::string& title) {
    return Link(view.Url("/book/" + std::to_string(book)),
                title.empty() ? view.Say("（{書名|しょめい}なし）") : Html::Escape(title));
}

Html Loans(const View& view, const accounts::OwnPage& page, engine::Date today) {
    Html section = Tag("h2", view.Say("{借|か}りている{本|ほん}"));
    if (page.loans.empty())
        return section + Tag("p", view.Say("{今|いま}{借|か}りている{本|ほん}はありません。"));
    Html rows = Html::Markup("<tr>") + Tag("th", view.Say("{本|ほん}")) +
                Tag("th", view.Say("{返|かえ}す{日|ひ}")) + Html::Markup("</tr>");
    for (const auto& loan : page.loans) {
        Html due = view.Say(pupil_text::Day(loan.due, today));
        if (loan.overdue)
            due +=
                Html::Markup(" ") + Tag("span", view.Say("{返|かえ}す{日|ひ}が{過|す}ぎています"),
                                        "class=\"state overdue\"");
        rows += Html::Markup(loan.overdue ? "<tr class=\"overdue\">" : "<tr>") +
                Tag("td", BookLink(view, loan.book, loan.title)) + Tag("td", due) +
                Html::Markup("</tr>");
    }
    return section + Tag("table", rows, "class=\"copies loans\"");
}

Html CancelButton(const View& view, const LoggedIn& who, int64_t book) {
    return Html::Markup("<form class=\"inline\" method=\"post\" action=\"") +
           Html::Escape(view.Url("/cancel")) + Html::Markup("\">") +
           HiddenToken(who.session.formToken) +
           Html::Markup("<input type=\"hidden\" name=\"book\" value=\"") +
           Html::Escape(std::to_string(book)) + Html::Markup("\"><button type=\"submit\">") +
           view.Say("{取|と}り{消|け}す") + Html::Markup("</button></form>");
}

Html Reservations(const View& view, const LoggedIn& who, const accounts::OwnPage& page,
                  engine::Date today) {
    Html section = Tag("h2", view.Say("{予約|よやく}している{本|ほん}"));
    if (page.reservations.empty())
        return section + Tag("p", view.Say("{予約|よやく}している{本|ほん}はありません。"));
    Html rows = Html::Markup("<tr>") + Tag("th", view.Say("{本|ほん}")) +
                Tag("th", view.Say("{予約|よやく}した{日|ひ}")) +
                Tag("th", view.Say("{順番|じゅんばん}")) + Tag("th", Html()) +
                Html::Markup("</tr>");
    for (const auto& reservation : page.reservations) {
        const engine::Date day = engine::DatePart(reservation.reservedAt);
        rows += Html::Markup("<tr>") +
                Tag("td", BookLink(view, reservation.book, reservation.title)) +
                Tag("td", view.Say(pupil_text::Day(day, today))) +
                Tag("td", view.Say(std::to_string(reservation.place) + "{番目|ばんめ}"),
                    "class=\"place\"") +
                Tag("td", CancelButton(view, who, reservation.book)) + Html::Markup("</tr>");
    }
    return section + Tag("table", rows, "class=\"copies reservations\"");
}

Html Record(const View& view, const accounts::OwnPage& page, engine::Date today) {
    Html section = Tag("h2", view.Say("{読|よ}んだ{本|ほん}"));
    if (page.record.empty()) return section + Tag("p", view.Say("まだありません。"));
    Html items;
    for (const auto& read : page.record)
        items += Tag("li", BookLink(view, read.book, read.title) + Html::Markup(" ") +
                               Tag("span", view.Say(pupil_text::Day(read.returnedOn, today)),
                                   "class=\"meta\""));
    return section + Tag("ol", items, "class=\"record\"");
}

Response OwnPage(Request& request) {
    auto context = PupilContextOf(request);
    if (!context) return ErrorPage(404);
    View view = ViewOf(request);
    auto who = CurrentUser(request, *context);
    if (!who) return Response::Redirect(view.Url("/login"));
    const engine::Date today = engine::Today();
    accounts::OwnPage page;
    {
        auto data = context->data->Take();
        page = accounts::ReadOwnPage(*data, who->user.nameId, today, context->recordOn);
    }
    Html content = Tag("h1", Html::Escape(who->user.name) + view.Say("さんのページ"));
    const std::string said = request.Query("said");
    if (said == "cancelled")
        content += Tag("p", view.Say(pupil_text::kCancelled), "class=\"message\"");
    if (said == "none")
        content += Tag("p", view.Say(pupil_text::kNothingCancelled), "class=\"message\"");
    content += Loans(view, page, today) + Reservations(view, *who, page, today);
    if (context->recordOn) content += Record(view, page, today);
    content += Html::Markup("<div class=\"actions\">") +
               Link(view.Url("/password"), view.Say("パスワードを{変|か}える")) +
               Html::Markup("<form class=\"inline\" method=\"post\" action=\"") +
               Html::Escape(view.Url("/logout")) + Html::Markup("\">") +
               HiddenToken(who->session.formToken) + Html::Markup("<button type=\"submit\">") +
               view.Say("ログアウト") + Html::Markup("</button></form></div>");
    return PageResponse(view, Plain("わたしのページ"), content);
}

Response ReservePost(Request& request) {
    auto context = PupilContextOf(request);
    if (!context) return ErrorPage(404);
    View view = ViewOf(request);
    auto who = CurrentUser(request, *context);
    if (!who) return Response::Redirect(view.Url("/login"));
    if (!FormTokenMatches(request, *who)) return RefusedForm(view);
    auto book = BookNumber(request.Form("book"));
    if (!book) return ErrorPage(400);
    accounts::ReserveResult result;
    try {
        auto data = context->data->Take();
        result = accounts::ReserveTitle(*data, engine::TDBSession::Default(), who->user, *book,
                                        context->reservationLimit);
    } catch (const std::exception& error) {
        std::cerr << "kashidashi-opac: 予約を記録できません: " << error.what() << std::endl;
        result.outcome = accounts::ReserveOutcome::Failed;
    }
    Response response =
        MessagePage(view, "{予約|よやく}", pupil_text::Reserve(result, context->reservationLimit));
    return response;
}

Response CancelPost(Request& request) {
    auto context = PupilContextOf(request);
    if (!context) return ErrorPage(404);
    View view = ViewOf(request);
    auto who = CurrentUser(request, *context);
    if (!who) return Response::Redirect(view.Url("/login"));
    if (!FormTokenMatches(request, *who)) return RefusedForm(view);
    auto book = BookNumber(request.Form("book"));
    if (!book) return ErrorPage(400);
    bool cancelled = false;
    {
        auto data = context->data->Take();
        cancelled = accounts::CancelOwnReservation(*data, who->user, *book);
    }
    return Response::Redirect(view.Url(cancelled ? "/me?said=cancelled" : "/me?said=none"));
}

}  // namespace

void AddOwnPageRoutes(Router& router) {
    router.Get("/me", OwnPage);
    router.Post("/reserve", ReservePost);
    router.Post("/cancel", CancelPost);
}

}  // namespace kashidashi::opac
