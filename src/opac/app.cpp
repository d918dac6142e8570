#include "opac/app.h"

#include <exception>
#include <iostream>

#include "opac/city.h"
#include "opac/html.h"

namespace kashidashi::opac {

namespace {

const char* StatusText(int status) {
    switch (status) {
        case 400:
            return "リクエストの形が正しくありません。";
        case 404:
            return "そのページはありません。";
        case 405:
            return "そのページはこの方法では使えません。";
        case 413:
            return "送られたデータが大きすぎます。";
        case 414:
            return "アドレスや検索のことばが長すぎます。";
        case 415:
            return "送られたデータの形が正しくありません。";
        default:
            return "ただいま蔵書を調べられません。しばらくしてからもう一度ためしてください。";
    }
}

}  // namespace

Response ErrorPage(int status) {
    Html body = Html::Markup(
                    "<!DOCTYPE html><html lang=\"ja\"><head><meta charset=\"utf-8\">"
                    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
                    "<title>") +
                Html::Escape(std::to_string(status)) +
                Html::Markup(
                    "</title><link rel=\"stylesheet\" href=\"/static/opac.css\"></head>"
                    "<body><main class=\"error\"><h1>") +
                Html::Escape(StatusText(status)) +
                Html::Markup("</h1><p><a href=\"/\">蔵書検索へ</a></p></main></body></html>");
    return Response::Html(body.str(), status);
}

App::App(Sites& sites) : sites_(sites) {
    AddAllRoutes(router_);
}

Response App::Handle(Request& request) const {
    std::string id;
    if (request.path.rfind("/s/", 0) == 0) {
        size_t end = request.path.find('/', 3);
        id = request.path.substr(3, end == std::string::npos ? std::string::npos : end - 3);
        request.path = end == std::string::npos ? "/" : request.path.substr(end);
    }
    request.site = sites_.Find(id);
    if (!request.site) return id.empty() ? SchoolsPage(request) : ErrorPage(404);  // city.h
    int status = 404;
    const Handler* handler = router_.Find(request, status);
    if (!handler) {
        Response response = ErrorPage(status);
        if (status == 405) response.headers.emplace_back("Allow", "GET, HEAD, POST");
        return response;
    }
    try {
        return (*handler)(request);
    } catch (const std::exception& error) {
        std::cerr << "kashidashi-opac: " << request.method << " " << request.path
                  << " failed: " << error.what() << std::endl;
        return ErrorPage(500);
    }
}

}  // namespace kashidashi::opac
