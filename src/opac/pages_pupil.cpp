// The pupils' login, logout and change of password, when the school has
// turned its pupils' pages on (404 otherwise):
//
//   GET  /login      the form: number and password
//   POST /login      logs in (the login form's token must equal its cookie),
//                    then the own page; five wrong passwords lock for 15 min
//   POST /logout     ends the session (with the session's form token)
//   GET  /password   the form: present password, the new one twice
//   POST /password   changes it; the user's other sessions end
#include "engine/common/dates.h"
#include "library/accounts/password_hash.h"
#include "opac/app.h"
#include "opac/pages.h"
#include "opac/pupil_pages.h"
#include "opac/pupil_places.h"
#include "opac/pupil_session.h"
#include "opac/pupil_texts.h"
#include "opac/say.h"

namespace kashidashi::opac {

namespace {

Html Field(const View& view, const char* label, const char* name, const char* type,
           const char* extra) {
    return Html::Markup("<label class=\"field\">") + view.Say(label) +
           Html::Markup(std::string("<input type=\"") + type + "\" name=\"" + name + "\" " + extra +
                        "></label>");
}

Response LoginForm(const Request& request, const std::string& message, int status = 200) {
    View view = ViewOf(request);
    const std::string token = accounts::RandomToken();
    Html form = Html::Markup("<form class=\"pupil\" method=\"post\" action=\"") +
                Html::Escape(view.Url("/login")) + Html::Markup("\">") + HiddenToken(token) +
                Field(view, "{番号|ばんごう}", "number", "text",
                      "inputmode=\"numeric\" autocomplete=\"username\" maxlength=\"20\" required "
                      "autofocus") +
                Field(view, "パスワード", "password", "password",
                      "autocomplete=\"current-password\" maxlength=\"64\" required") +
                Html::Markup("<button type=\"submit\">") + view.Say("ログイン") +
                Html::Markup("</button></form>");
    Html content = Tag("h1", view.Say("ログイン"));
    if (!message.empty()) content += Tag("p", view.Say(message), "class=\"message error\"");
    content += Tag("p", view.Say("{図書館|としょかん}でもらった{紙|かみ}の{番号|ばんごう}と"
                                 "パスワードを{入|い}れてください。"));
    content += form;
    Response response = PageResponse(view, Plain("ログイン"), content, status);
    response.headers.emplace_back("Set-Cookie", LoginCookie(request, token));
    return response;
}

Response LoginPage(Request& request) {
    auto context = PupilContextOf(request);
    if (!context) return ErrorPage(404);
    if (CurrentUser(request, *context)) return Response::Redirect(ViewOf(request).Url("/me"));
    return LoginForm(request, "");
}

Response LoginPost(Request& request) {
    auto context = PupilContextOf(request);
    if (!context) return ErrorPage(404);
    const std::string cookie = request.Cookie(kLoginCookie);
    if (cookie.empty() || !accounts::SameToken(request.Form(kFormField), cookie))
        return LoginForm(request, pupil_text::kAgain, 403);
    accounts::LoginResult result;
    {
        auto data = context->data->Take();
        result =
            accounts::Login(*data, request.Form("number"), request.Form("password"), engine::Now());
    }
    if (result.outcome != accounts::LoginOutcome::LoggedIn)
        return LoginForm(request, pupil_text::Login(result));
    const std::string token =
        PupilPlaces::Instance().Sessions().Open(request.site->Id(), result.user.nameId);
    Response response = Response::Redirect(ViewOf(request).Url("/me"));
    response.headers.emplace_back("Set-Cookie", LoginCookie(request, "", true));
    response.headers.emplace_back("Set-Cookie", SessionCookie(request, token));
    return response;
}

Response LogoutPost(Request& request) {
    auto context = PupilContextOf(request);
    if (!context) return ErrorPage(404);
    View view = ViewOf(request);
    auto who = CurrentUser(request, *context);
    if (!who) return Response::Redirect(view.Url("/login"));
    if (!FormTokenMatches(request, *who)) return RefusedForm(view);
    PupilPlaces::Instance().Sessions().Close(request.Cookie(kSessionCookie));
    Response response = Response::Redirect(view.Url("/"));
    response.headers.emplace_back("Set-Cookie", EndedSessionCookie(request));
    return response;
}

Response PasswordForm(const Request& request, const LoggedIn& who, const std::string& message) {
    View view = ViewOf(request);
    Html content = Tag("h1", view.Say("パスワードを{変|か}える"));
    if (!message.empty()) content += Tag("p", view.Say(message), "class=\"message\"");
    content += Html::Markup("<form class=\"pupil\" method=\"post\" action=\"") +
               Html::Escape(view.Url("/password")) + Html::Markup("\">") +
               HiddenToken(who.session.formToken) +
               Field(view, "{今|いま}のパスワード", "present", "password",
                     "autocomplete=\"current-password\" maxlength=\"64\" required") +
               Field(view, "{新|あたら}しいパスワード（6{文字|もじ}{以上|いじょう}）", "chosen",
                     "password", "autocomplete=\"new-password\" maxlength=\"64\" required") +
               Field(view, "{新|あたら}しいパスワード（もう{一度|いちど}）", "again", "password",
                     "autocomplete=\"new-password\" maxlength=\"64\" required") +
               Html::Markup("<button type=\"submit\">") + view.Say("{変|か}える") +
               Html::Markup("</button></form>");
    content += Tag("p", Link(view.Url("/me"), view.Say("← わたしのページ")));
    return PageResponse(view, Plain("パスワードを{変|か}える"), content);
}

Response PasswordPage(Request& request) {
    auto context = PupilContextOf(request);
    if (!context) return ErrorPage(404);
    auto who = CurrentUser(request, *context);
    if (!who) return Response::Redirect(ViewOf(request).Url("/login"));
    return PasswordForm(request, *who, "");
}

Response PasswordPost(Request& request) {
    auto context = PupilContextOf(request);
    if (!context) return ErrorPage(404);
    View view = ViewOf(request);
    auto who = CurrentUser(request, *context);
    if (!who) return Response::Redirect(view.Url("/login"));
    if (!FormTokenMatches(request, *who)) return RefusedForm(view);
    if (request.Form("chosen") != request.Form("again"))
        return PasswordForm(request, *who, pupil_text::kMismatch);
    accounts::ChangeOutcome outcome;
    {
        auto data = context->data->Take();
        outcome = accounts::ChangePassword(*data, who->user, request.Form("present"),
                                           request.Form("chosen"), engine::Now());
    }
    if (outcome != accounts::ChangeOutcome::Changed)
        return PasswordForm(request, *who, pupil_text::Change(outcome));
    // Every other session of the user ends; this browser goes on in a new one.
    auto& sessions = PupilPlaces::Instance().Sessions();
    sessions.CloseAllOf(request.site->Id(), who->user.nameId);
    const std::string token = sessions.Open(request.site->Id(), who->user.nameId);
    Response response = MessagePage(view, "パスワードを{変|か}える", pupil_text::Change(outcome));
    response.headers.emplace_back("Set-Cookie", SessionCookie(request, token));
    return response;
}

}  // namespace

Response MessagePage(const View& view, const std::string& title, const std::string& message,
                     int status) {
    Html content =
        Tag("h1", view.Say(title)) + Tag("p", view.Say(message), "class=\"message\"") +
        Tag("p", Link(view.Url("/me"), view.Say("わたしのページへ")) + Html::Markup("　") +
                     Link(view.Url("/"), view.Say("{本|ほん}をさがす")));
    return PageResponse(view, Plain(title), content, status);
}

Response RefusedForm(const View& view) {
    return MessagePage(
        view, "もう{一度|いちど}",
        "この{画面|がめん}からは{受|う}け{付|つ}けられません。" + std::string(pupil_text::kAgain),
        403);
}

void AddPupilRoutes(Router& router) {
    router.Get("/login", LoginPage);
    router.Post("/login", LoginPost);
    router.Post("/logout", LogoutPost);
    router.Get("/password", PasswordPage);
    router.Post("/password", PasswordPost);
    AddOwnPageRoutes(router);
}

}  // namespace kashidashi::opac
