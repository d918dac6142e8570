// The HTTP server: libmicrohttpd (GNU libmicrohttpd, Debian's
// libmicrohttpd-dev) with a pool of threads, each serving many connections.
// It limits what one client can make it hold: connections at once, per
// address, memory per connection (which bounds the request line and the
// headers: a longer one is answered 414 or 431 by the library itself), the
// time a connection may idle, and the size of a form body (413).
//
// Each request's target is read raw (before the library decodes it) and
// checked by request_target.h; only GET, HEAD and POST (with a form body)
// reach the pages. Every answer carries the security headers
// (Content-Security-Policy without scripts, X-Content-Type-Options,
// Referrer-Policy, X-Frame-Options) and, for pages, Cache-Control: no-store
// (availability is read live). One line per request goes to the log:
// method, path without its query, status, milliseconds, never the fields.
#pragma once

#include <functional>
#include <string>

#include "opac/http.h"

struct MHD_Daemon;

namespace kashidashi::opac {

struct ServerOptions {
    std::string host = "127.0.0.1";  // a numeric IPv4 or IPv6 address
    int port = 8080;                 // 0: any free port (tests)
    unsigned threads = 4;
    unsigned connectionLimit = 1024;
    unsigned perAddressLimit = 0;  // 0: none (a school's NAT shows one address)
    unsigned idleSeconds = 30;
    size_t connectionMemory = 32 * 1024;  // request line and headers fit in this
    size_t maxBody = 16 * 1024;           // a form body
    bool log = true;
};

class HttpServer {
  public:
    using Handle = std::function<Response(Request&)>;
    HttpServer(ServerOptions options, Handle handle);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Throws std::runtime_error (in plain Japanese) when the address cannot
    // be listened on.
    void Start();
    void Stop();
    int Port() const;  // the port listened on

    // Used by the library's callbacks.
    struct Exchange;
    Response Answer(Exchange& exchange);
    const ServerOptions& Options() const { return options_; }

  private:
    ServerOptions options_;
    Handle handle_;
    MHD_Daemon* daemon_ = nullptr;
};

}  // namespace kashidashi::opac
