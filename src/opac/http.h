// A request as the pages see it and the answer they give. The server
// (http_server.h) fills a Request only from a target, fields and cookies
// that request_target.h has already checked, so a page can trust that every
// text in it is clean UTF-8 within the limits.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "opac/request_target.h"

namespace kashidashi::opac {

class Site;

struct Request {
    std::string method;  // "GET", "HEAD" or "POST"
    std::string path;    // within the school: "/book/123" also under /s/SCHOOL/
    Fields query;        // the query string's fields
    Fields form;         // a POST's form fields
    std::string cookieHeader;
    bool secure = false;  // came through TLS (a proxy's X-Forwarded-Proto: https)
    std::map<std::string, std::string> pathParams;  // {name} parts of the route
    Site* site = nullptr;                           // the school the path names

    // The first value of a field of the query (or of the form); "" when absent.
    std::string Query(const std::string& name) const;
    std::string Form(const std::string& name) const;
    std::string Cookie(const std::string& name) const;
    std::string PathParam(const std::string& name) const;
};

struct Response {
    int status = 200;
    std::string contentType = "text/html; charset=utf-8";
    std::string body;
    // Further headers (Set-Cookie, Location, Cache-Control); the security
    // headers every answer carries are added by the server.
    std::vector<std::pair<std::string, std::string>> headers;

    static Response Html(std::string body, int status = 200);
    static Response Redirect(const std::string& location);  // 303 See Other
    static Response Text(int status, std::string body);     // text/plain
};

}  // namespace kashidashi::opac
