#include "opac/http.h"

#include "opac/request_target.h"

namespace kashidashi::opac {

namespace {

std::string First(const Fields& fields, const std::string& name) {
    for (const auto& [key, value] : fields)
        if (key == name) return value;
    return {};
}

}  // namespace

std::string Request::Query(const std::string& name) const {
    return First(query, name);
}
std::string Request::Form(const std::string& name) const {
    return First(form, name);
}
std::string Request::Cookie(const std::string& name) const {
    return CookieValue(cookieHeader, name);
}
std::string Request::PathParam(const std::string& name) const {
    auto it = pathParams.find(name);
    return it == pathParams.end() ? std::string() : it->second;
}

Response Response::Html(std::string body, int status) {
    Response response;
    response.status = status;
    response.body = std::move(body);
    return response;
}

Response Response::Redirect(const std::string& location) {
    Response response;
    response.status = 303;
    response.headers.emplace_back("Location", location);
    return response;
}

Response Response::Text(int status, std::string body) {
    Response response;
    response.status = status;
    response.contentType = "text/plain; charset=utf-8";
    response.body = std::move(body);
    return response;
}

}  // namespace kashidashi::opac
