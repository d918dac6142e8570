// The small school served by the catalogue's real HTTP server on a free
// port of 127.0.0.1 (StartServer, after the test's rows are written).
#pragma once

#include <memory>

#include "opac/app.h"
#include "opac/http_client.h"
#include "opac/http_server.h"
#include "opac/opac_fixture.h"

namespace opac_test {

class ServerFixture : public OpacFixture {
  protected:
    void StartServer() {
        Site();
        site->CountLoans();
        sites.Add(std::move(site));
        app = std::make_unique<kashidashi::opac::App>(sites);
        kashidashi::opac::ServerOptions options;
        options.port = 0;
        options.threads = 2;
        options.log = false;
        server = std::make_unique<kashidashi::opac::HttpServer>(
            options, [this](kashidashi::opac::Request& request) { return app->Handle(request); });
        server->Start();
        port = server->Port();
    }
    kashidashi::opac::Site& Served() { return *sites.Find(""); }
    void TearDown() override {
        server.reset();
        app.reset();
        sites = kashidashi::opac::Sites();
        OpacFixture::TearDown();
    }
    kashidashi::opac::Sites sites;
    std::unique_ptr<kashidashi::opac::App> app;
    std::unique_ptr<kashidashi::opac::HttpServer> server;
    int port = 0;
};

}  // namespace opac_test
