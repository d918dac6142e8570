// kashidashi-opac: the pupils' web catalogue of one school (options.h).
// It reads the school's data, never writes it, keeps its word index in a
// file of its own, and serves pages until SIGTERM or SIGINT.
#include <QCoreApplication>
#include <csignal>
#include <filesystem>
#include <iostream>

#include "engine/session/data_location.h"
#include "engine/storage/open_local.h"
#include "engine/storage/open_remote.h"
#include "kashidashi/version.h"
#include "opac/app.h"
#include "opac/city.h"
#include "opac/http_server.h"
#include "opac/options.h"
#include "opac/pupil_places.h"
#include "opac/refresher.h"
#include "opac/site.h"

namespace {

using namespace kashidashi;

// The opener of read connections to the place the command line names.
opac::ConnectionPool::Opener OpenerOf(const std::string& data) {
    auto location = engine::RequireLocation(data);
    if (location.backupFile)
        throw std::runtime_error("「" + data +
                                 "」はファイルです。データフォルダかサーバを指定してください。");
    const engine::storage::LockRule rule{15, 100};  // the desk's rule
    if (!location.server) {
        if (!std::filesystem::is_directory(location.folder))
            throw std::runtime_error("フォルダ「" + data + "」がありません。");
        return
            [folder = location.folder, rule] { return engine::storage::OpenLocal(folder, rule); };
    }
    auto address = location.address;
    address.password = engine::ServerPassword(location);
    return [address, rule] { return engine::storage::OpenRemote(address, rule); };
}

int Serve(const opac::Options& options) {
    std::filesystem::create_directories(std::filesystem::path(options.index).parent_path());
    opac::Sites sites;
    if (opac::IsCityList(options.data)) {  // a city's schools under /s/ID/ (city.h)
        const auto folder = std::filesystem::path(options.index).parent_path();
        for (const auto& school : opac::ReadCitySchools(options.data)) {
            auto index = (folder / ("index-" + school.id + ".sqlite")).string();
            sites.Add(std::make_unique<opac::Site>(school.id, school.name, opac::CityOpener(school),
                                                   index));
            opac::PupilPlaces::Instance().Add(school.id, opac::CityOpener(school));
        }
        opac::SetCitySites(&sites);
    } else {
        sites.Add(
            std::make_unique<opac::Site>("", options.name, OpenerOf(options.data), options.index));
        opac::PupilPlaces::Instance().Add("", OpenerOf(options.data));  // the pupils' writes
    }
    for (opac::Site* site : sites.All()) {
        auto counts = site->Refresh();  // a missing Book table stops the program here
        site->CountLoans();
        std::clog << "kashidashi-opac: 索引 " << counts.books << " 冊" << std::endl;
    }
    opac::App app(sites);
    opac::ServerOptions server;
    server.host = options.host;
    server.port = options.port;
    server.threads = options.threads;
    server.log = !options.quiet;
    opac::HttpServer http(server, [&app](opac::Request& request) { return app.Handle(request); });

    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);  // before any thread starts
    http.Start();
    opac::Refresher refresher(sites, options.refreshSeconds, 600);
    std::clog << "kashidashi-opac: http://" << options.host << ":" << http.Port()
              << "/ で待っています" << std::endl;
    int received = 0;
    sigwait(&stopSignals, &received);
    std::clog << "kashidashi-opac: 終わります" << std::endl;
    http.Stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication qt(argc, argv);  // Qt's text functions (the fold) want it
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kashidashi::opac::kUsage;
        return 0;
    }
    if (!args.empty() && args[0] == "--version") {
        std::cout << "kashidashi-opac " << kashidashi::kVersion << "\n";
        return 0;
    }
    std::string problem;
    auto options = kashidashi::opac::ParseOptions(args, problem);
    if (!options) {
        std::cerr << "kashidashi-opac: " << problem << "\n" << kashidashi::opac::kUsage;
        return 2;
    }
    try {
        return Serve(*options);
    } catch (const std::exception& error) {
        std::cerr << "kashidashi-opac: " << error.what() << std::endl;
        return 1;
    }
}
