// The pupils' pages' session of one request: the session cookie
// (kx_session: HttpOnly, SameSite=Strict, Secure behind TLS, the school's
// path), the logged-in user it names, and the form tokens: every form that
// changes something carries the session's token, and the login form (before
// any session) a token that must equal its own cookie (kx_login).
#pragma once

#include <optional>
#include <string>

#include "library/accounts/web_accounts.h"
#include "library/accounts/web_sessions.h"
#include "opac/connection_pool.h"
#include "opac/html.h"
#include "opac/http.h"

namespace kashidashi::opac {

inline constexpr const char* kSessionCookie = "kx_session";
inline constexpr const char* kLoginCookie = "kx_login";
inline constexpr const char* kFormField = "form";

struct PupilContext {
    ConnectionPool* data = nullptr;  // the school's writing pool
    bool pageOn = false;             // the school's switch
    bool recordOn = false;
    int reservationLimit = 3;
};

// The school's pupils' pages, when it has them turned on.
std::optional<PupilContext> PupilContextOf(const Request& request);

struct LoggedIn {
    accounts::WebSession session;
    accounts::WebUser user;
};

// The user of the request's session on this school, if any (touching it).
std::optional<LoggedIn> CurrentUser(const Request& request, PupilContext& context);

// True when the form carries the session's token.
bool FormTokenMatches(const Request& request, const LoggedIn& who);

// Set-Cookie values.
std::string SessionCookie(const Request& request, const std::string& token);
std::string EndedSessionCookie(const Request& request);
// The login form's cookie; `ended` clears it.
std::string LoginCookie(const Request& request, const std::string& token, bool ended = false);

// A hidden field with a token.
Html HiddenToken(const std::string& token);

}  // namespace kashidashi::opac
