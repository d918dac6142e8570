#include "opac/router.h"

#include <map>

namespace kashidashi::opac {

namespace {

std::vector<std::string> Segments(const std::string& path) {
    std::vector<std::string> segments;
    size_t at = 1;
    while (at < path.size()) {
        size_t end = path.find('/', at);
        if (end == std::string::npos) end = path.size();
        segments.push_back(path.substr(at, end - at));
        at = end + 1;
    }
    return segments;
}

bool IsParam(const std::string& segment) {
    return segment.size() > 2 && segment.front() == '{' && segment.back() == '}';
}

}  // namespace

void Router::Get(const std::string& pattern, Handler handler) {
    Add("GET", pattern, std::move(handler));
}

void Router::Post(const std::string& pattern, Handler handler) {
    Add("POST", pattern, std::move(handler));
}

void Router::Add(std::string method, const std::string& pattern, Handler handler) {
    routes_.push_back(Route{std::move(method), Segments(pattern), std::move(handler)});
}

const Handler* Router::Find(Request& request, int& status) const {
    auto segments = Segments(request.path);
    std::string method = request.method == "HEAD" ? "GET" : request.method;
    status = 404;
    for (const auto& route : routes_) {
        if (route.segments.size() != segments.size()) continue;
        std::map<std::string, std::string> params;
        bool match = true;
        for (size_t i = 0; i < segments.size() && match; ++i) {
            const auto& want = route.segments[i];
            if (IsParam(want))
                params[want.substr(1, want.size() - 2)] = segments[i];
            else
                match = want == segments[i];
        }
        if (!match) continue;
        if (route.method != method) {
            status = 405;
            continue;
        }
        request.pathParams = std::move(params);
        status = 200;
        return &route.handler;
    }
    return nullptr;
}

}  // namespace kashidashi::opac
