#include "opac/http_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>

#include <chrono>
#include <cstring>
#include <iostream>
#include <stdexcept>

#include "opac/app.h"
#include "opac/request_target.h"

namespace kashidashi::opac {

struct HttpServer::Exchange {
    std::string rawTarget;  // as sent, before the library decodes it
    std::string method;
    std::string body;
    bool started = false;
    bool tooLarge = false;
    MHD_Connection* connection = nullptr;
    std::chrono::steady_clock::time_point begun = std::chrono::steady_clock::now();
};

namespace {

constexpr const char* kPolicy =
    "default-src 'none'; style-src 'self'; img-src 'self'; form-action 'self'; "
    "base-uri 'none'; frame-ancestors 'none'";

void* TakeTarget(void*, const char* uri, MHD_Connection* connection) {
    auto* exchange = new HttpServer::Exchange;
    exchange->rawTarget = uri ? uri : "";
    exchange->connection = connection;
    return exchange;
}

void Forget(void*, MHD_Connection*, void** state, MHD_RequestTerminationCode) {
    delete static_cast<HttpServer::Exchange*>(*state);
    *state = nullptr;
}

std::string Header(MHD_Connection* connection, const char* name) {
    const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
    return value ? value : "";
}

MHD_Result Send(MHD_Connection* connection, const Response& answer) {
    MHD_Response* response = MHD_create_response_from_buffer(
        answer.body.size(), const_cast<char*>(answer.body.data()), MHD_RESPMEM_MUST_COPY);
    if (!response) return MHD_NO;
    MHD_add_response_header(response, "Content-Type", answer.contentType.c_str());
    MHD_add_response_header(response, "Content-Security-Policy", kPolicy);
    MHD_add_response_header(response, "X-Content-Type-Options", "nosniff");
    MHD_add_response_header(response, "Referrer-Policy", "no-referrer");
    MHD_add_response_header(response, "X-Frame-Options", "DENY");
    bool cacheGiven = false;
    for (const auto& [name, value] : answer.headers) {
        MHD_add_response_header(response, name.c_str(), value.c_str());
        cacheGiven = cacheGiven || name == "Cache-Control";
    }
    if (!cacheGiven) MHD_add_response_header(response, "Cache-Control", "no-store");
    MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned>(answer.status), response);
    MHD_destroy_response(response);
    return queued;
}

MHD_Result Access(void* server, MHD_Connection* connection, const char*, const char* method,
                  const char*, const char* upload, size_t* uploadSize, void** state) {
    auto* self = static_cast<HttpServer*>(server);
    auto* exchange = static_cast<HttpServer::Exchange*>(*state);
    if (!exchange) return MHD_NO;  // the target was never seen: drop the connection
    if (!exchange->started) {
        exchange->started = true;
        exchange->method = method;
        if (exchange->method == "POST") {
            std::string length = Header(connection, "Content-Length");
            bool digits = !length.empty() && length.size() <= 9 &&
                          length.find_first_not_of("0123456789") == std::string::npos;
            if (!length.empty() && (!digits || std::stoul(length) > self->Options().maxBody))
                return Send(connection, ErrorPage(digits ? 413 : 400));
            return MHD_YES;  // the body follows
        }
    } else if (*uploadSize != 0) {
        if (exchange->body.size() + *uploadSize > self->Options().maxBody)
            exchange->tooLarge = true;
        else
            exchange->body.append(upload, *uploadSize);
        *uploadSize = 0;
        if (exchange->tooLarge) return Send(connection, ErrorPage(413));
        return MHD_YES;
    }
    return Send(connection, self->Answer(*exchange));
}

}  // namespace

HttpServer::HttpServer(ServerOptions options, Handle handle)
    : options_(std::move(options)), handle_(std::move(handle)) {}

HttpServer::~HttpServer() {
    Stop();
}

Response HttpServer::Answer(Exchange& exchange) {
    Response response;
    std::string path = "?";
    if (exchange.method != "GET" && exchange.method != "HEAD" && exchange.method != "POST") {
        response = ErrorPage(405);
        response.headers.emplace_back("Allow", "GET, HEAD, POST");
    } else {
        auto target = ParseTarget(exchange.rawTarget);
        if (auto* refusal = std::get_if<Refusal>(&target)) {
            response = ErrorPage(refusal->status);
        } else {
            Request request;
            request.method = exchange.method;
            request.path = std::get<Target>(target).path;
            request.query = std::move(std::get<Target>(target).query);
            request.cookieHeader = Header(exchange.connection, "Cookie");
            request.secure = Header(exchange.connection, "X-Forwarded-Proto") == "https";
            path = request.path;
            bool form = Header(exchange.connection, "Content-Type")
                            .rfind("application/x-www-form-urlencoded", 0) == 0;
            if (request.method == "POST" && !exchange.body.empty() && !form) {
                response = ErrorPage(415);
            } else if (request.method == "POST") {
                auto fields = ParseFields(exchange.body);
                if (auto* refusal = std::get_if<Refusal>(&fields)) {
                    response = ErrorPage(refusal->status == 414 ? 413 : 400);
                } else {
                    request.form = std::move(std::get<Fields>(fields));
                    response = handle_(request);
                }
            } else {
                response = handle_(request);
            }
        }
    }
    if (options_.log) {
        auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                            exchange.begun)
                      .count();
        std::clog << exchange.method << " " << path << " " << response.status << " "
                  << static_cast<long>(ms) << "ms\n";
    }
    return response;
}

void HttpServer::Start() {
    sockaddr_storage address{};
    unsigned flags = MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL | MHD_USE_ERROR_LOG;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
    if (inet_pton(AF_INET, options_.host.c_str(), &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<uint16_t>(options_.port));
    } else if (inet_pton(AF_INET6, options_.host.c_str(), &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<uint16_t>(options_.port));
        flags |= MHD_USE_IPv6;
    } else {
        throw std::runtime_error("待ち受けるアドレス「" + options_.host +
                                 "」は数字のアドレスで指定してください（例 127.0.0.1）。");
    }
    daemon_ = MHD_start_daemon(
        flags, static_cast<uint16_t>(options_.port), nullptr, nullptr, &Access, this,
        MHD_OPTION_SOCK_ADDR, reinterpret_cast<sockaddr*>(&address), MHD_OPTION_THREAD_POOL_SIZE,
        options_.threads, MHD_OPTION_CONNECTION_LIMIT, options_.connectionLimit,
        MHD_OPTION_PER_IP_CONNECTION_LIMIT, options_.perAddressLimit, MHD_OPTION_CONNECTION_TIMEOUT,
        options_.idleSeconds, MHD_OPTION_CONNECTION_MEMORY_LIMIT, options_.connectionMemory,
        MHD_OPTION_URI_LOG_CALLBACK, &TakeTarget, this, MHD_OPTION_NOTIFY_COMPLETED, &Forget, this,
        MHD_OPTION_END);
    if (!daemon_)
        throw std::runtime_error(
            "アドレス " + options_.host + " のポート " + std::to_string(options_.port) +
            " で待ち受けられません（ほかのプログラムが使っていないか確かめてください）。");
}

void HttpServer::Stop() {
    if (daemon_) MHD_stop_daemon(daemon_);
    daemon_ = nullptr;
}

int HttpServer::Port() const {
    if (!daemon_) return 0;
    const MHD_DaemonInfo* info = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT);
    return info ? info->port : 0;
}

}  // namespace kashidashi::opac
