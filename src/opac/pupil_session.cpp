#include "opac/pupil_session.h"

#include "library/accounts/password_hash.h"
#include "opac/pupil_places.h"
#include "opac/site.h"

namespace kashidashi::opac {
namespace {

std::string CookiePath(const Request& request) {
    return request.site->Base().empty() ? "/" : request.site->Base() + "/";
}

std::string Attributes(const Request& request) {
    return "; Path=" + CookiePath(request) + "; HttpOnly; SameSite=Strict" +
           (request.secure ? "; Secure" : "");
}

}  // namespace

std::optional<PupilContext> PupilContextOf(const Request& request) {
    auto& places = PupilPlaces::Instance();
    ConnectionPool* pool = places.Writes(request.site->Id());
    if (!pool) return std::nullopt;
    auto switches = places.Switches(request.site->Id());
    if (!switches.pupilPage) return std::nullopt;
    return PupilContext{pool, true, switches.readingRecord, switches.reservationLimit};
}

std::optional<LoggedIn> CurrentUser(const Request& request, PupilContext& context) {
    auto& sessions = PupilPlaces::Instance().Sessions();
    const std::string token = request.Cookie(kSessionCookie);
    auto session = sessions.Find(token);
    if (!session || session->school != request.site->Id()) return std::nullopt;
    auto data = context.data->Take();
    auto user = accounts::UserOfNameId(*data, session->nameId);
    if (!user) {  // the user left the school
        sessions.Close(token);
        return std::nullopt;
    }
    return LoggedIn{*session, *user};
}

bool FormTokenMatches(const Request& request, const LoggedIn& who) {
    return accounts::SameToken(request.Form(kFormField), who.session.formToken);
}

std::string SessionCookie(const Request& request, const std::string& token) {
    return std::string(kSessionCookie) + "=" + token + Attributes(request);
}

std::string EndedSessionCookie(const Request& request) {
    return std::string(kSessionCookie) + "=; Max-Age=0" + Attributes(request);
}

std::string LoginCookie(const Request& request, const std::string& token, bool ended) {
    return std::string(kLoginCookie) + "=" + token + (ended ? "; Max-Age=0" : "; Max-Age=3600") +
           Attributes(request);
}

Html HiddenToken(const std::string& token) {
    return Html::Markup("<input type=\"hidden\" name=\"") + Html::Escape(kFormField) +
           Html::Markup("\" value=\"") + Html::Escape(token) + Html::Markup("\">");
}

}  // namespace kashidashi::opac
