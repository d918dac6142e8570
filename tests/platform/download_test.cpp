#include "platform/download.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "platform/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using platform::DownloadOptions;
using platform::DownloadUrlToFile;
using platform_test::Entries;
using platform_test::ReadFile;
using platform_test::ScopedEnv;
using platform_test::ScratchFolder;
using platform_test::WriteFile;

DownloadOptions FileOptions() {
    DownloadOptions options;
    options.allowedSchemes = {"file"};
    return options;
}

DownloadOptions HttpOptions() {
    DownloadOptions options;
    options.allowedSchemes = {"http"};
    options.connectTimeout = std::chrono::seconds(5);
    options.totalTimeout = std::chrono::seconds(10);
    return options;
}

std::string FileUrl(const std::string& path) {
    return "file://" + path;
}

TEST(Download, FileUrlSuccess) {
    ScratchFolder scratch;
    std::string content;
    for (int i = 0; i < 100000; ++i) content += static_cast<char>(i * 7);
    WriteFile(scratch / "source.bin", content);
    EXPECT_TRUE(
        DownloadUrlToFile(FileUrl(scratch / "source.bin"), scratch / "target.bin", FileOptions()));
    EXPECT_EQ(ReadFile(scratch / "target.bin"), content);
    EXPECT_EQ(Entries(scratch.path()), (std::set<std::string>{"source.bin", "target.bin"}));
}

TEST(Download, EmptyFile) {
    ScratchFolder scratch;
    WriteFile(scratch / "empty", "");
    EXPECT_TRUE(DownloadUrlToFile(FileUrl(scratch / "empty"), scratch / "out", FileOptions()));
    EXPECT_TRUE(fs::exists(scratch / "out"));
    EXPECT_EQ(fs::file_size(scratch / "out"), 0u);
}

TEST(Download, MissingFileGivesFalseAndLeavesNoFile) {
    ScratchFolder scratch;
    EXPECT_FALSE(
        DownloadUrlToFile(FileUrl(scratch / "missing"), scratch / "target", FileOptions()));
    EXPECT_TRUE(Entries(scratch.path()).empty());
}

TEST(Download, FailureKeepsAnEarlierFile) {
    ScratchFolder scratch;
    WriteFile(scratch / "target", "earlier");
    EXPECT_FALSE(
        DownloadUrlToFile(FileUrl(scratch / "missing"), scratch / "target", FileOptions()));
    EXPECT_EQ(ReadFile(scratch / "target"), "earlier");
    EXPECT_EQ(Entries(scratch.path()), (std::set<std::string>{"target"}));
}

TEST(Download, SuccessOverwritesAnEarlierFile) {
    ScratchFolder scratch;
    WriteFile(scratch / "target", "earlier and longer");
    WriteFile(scratch / "source", "new");
    EXPECT_TRUE(DownloadUrlToFile(FileUrl(scratch / "source"), scratch / "target", FileOptions()));
    EXPECT_EQ(ReadFile(scratch / "target"), "new");
}

TEST(Download, SchemeNotAllowed) {
    ScratchFolder scratch;
    WriteFile(scratch / "source", "x");
    // Default options allow https only.
    EXPECT_FALSE(DownloadUrlToFile(FileUrl(scratch / "source"), scratch / "a"));
    EXPECT_FALSE(DownloadUrlToFile("http://127.0.0.1:9/x", scratch / "b"));
    EXPECT_FALSE(DownloadUrlToFile("ftp://127.0.0.1:9/x", scratch / "c", HttpOptions()));
    // An address without a scheme is refused, not guessed.
    EXPECT_FALSE(DownloadUrlToFile(scratch / "source", scratch / "d", FileOptions()));
    DownloadOptions none;
    none.allowedSchemes.clear();
    EXPECT_FALSE(DownloadUrlToFile(FileUrl(scratch / "source"), scratch / "e", none));
    EXPECT_EQ(Entries(scratch.path()), (std::set<std::string>{"source"}));
}

TEST(Download, SchemeLetterCase) {
    ScratchFolder scratch;
    WriteFile(scratch / "source", "x");
    DownloadOptions options;
    options.allowedSchemes = {"FILE"};
    EXPECT_TRUE(DownloadUrlToFile("FILE://" + (scratch / "source"), scratch / "t", options));
}

TEST(Download, TargetFolderMissing) {
    ScratchFolder scratch;
    WriteFile(scratch / "source", "x");
    EXPECT_FALSE(
        DownloadUrlToFile(FileUrl(scratch / "source"), scratch / "no/target", FileOptions()));
    EXPECT_FALSE(
        DownloadUrlToFile(FileUrl(scratch / "source"), scratch.path() + "/", FileOptions()));
    EXPECT_FALSE(DownloadUrlToFile(FileUrl(scratch / "source"), "", FileOptions()));
}

TEST(Download, TargetIsAFolder) {
    ScratchFolder scratch;
    WriteFile(scratch / "source", "x");
    fs::create_directory(scratch / "folder");
    EXPECT_FALSE(DownloadUrlToFile(FileUrl(scratch / "source"), scratch / "folder", FileOptions()));
    EXPECT_EQ(Entries(scratch.path()), (std::set<std::string>{"folder", "source"}));
}

TEST(Download, DrivePathTarget) {
    ScratchFolder scratch;
    ScopedEnv root("KASHIDASHI_DRIVE_ROOT", scratch.path());
    fs::create_directories(scratch / "drive_c/Book");
    WriteFile(scratch / "source", "drive");
    EXPECT_TRUE(DownloadUrlToFile(FileUrl(scratch / "source"), "C:\\Book\\$$2013", FileOptions()));
    EXPECT_EQ(ReadFile(scratch / "drive_c/Book/$$2013"), "drive");
}

TEST(Download, ExecutableOption) {
    ScratchFolder scratch;
    WriteFile(scratch / "source", "#!/bin/sh\n");
    DownloadOptions options = FileOptions();
    EXPECT_TRUE(DownloadUrlToFile(FileUrl(scratch / "source"), scratch / "plain", options));
    options.executable = true;
    EXPECT_TRUE(DownloadUrlToFile(FileUrl(scratch / "source"), scratch / "program", options));
    EXPECT_EQ(access((scratch / "program").c_str(), X_OK), 0);
    EXPECT_NE(access((scratch / "plain").c_str(), X_OK), 0);
}

// A tiny HTTP server on the loopback interface: each connection gets the answer the handler
// gives for the request line ("GET /path HTTP/1.1"); an empty answer means never to answer.
class LoopbackServer {
  public:
    using Handler = std::function<std::string(const std::string& requestLine)>;

    explicit LoopbackServer(Handler handler) : handler_(std::move(handler)) {
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        if (listener_ < 0 ||
            bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener_, 16) != 0) {
            return;
        }
        socklen_t length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Run(); });
    }
    ~LoopbackServer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (listener_ >= 0) close(listener_);
    }

    bool ok() const { return port_ != 0; }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    int requests() const { return requests_; }

  private:
    void Run() {
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection < 0) continue;
            std::string request;
            char buffer[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                pollfd q{connection, POLLIN, 0};
                if (poll(&q, 1, 2000) <= 0) break;
                const ssize_t n = read(connection, buffer, sizeof buffer);
                if (n <= 0) break;
                request.append(buffer, static_cast<std::size_t>(n));
            }
            ++requests_;
            const std::string answer = handler_(request.substr(0, request.find("\r\n")));
            if (answer.empty()) {
                while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
            } else {
                (void)!write(connection, answer.data(), answer.size());
            }
            close(connection);
        }
    }

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

std::string Response(const std::string& status, const std::string& body,
                     const std::string& extraHeaders = "") {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body;
}

TEST(DownloadHttp, StatusAndRedirects) {
    ScratchFolder scratch;
    WriteFile(scratch / "secret", "local file");
    const std::string secretUrl = FileUrl(scratch / "secret");
    LoopbackServer server([&](const std::string& line) {
        if (line.rfind("GET /ok ", 0) == 0) return Response("200 OK", "hello");
        if (line.rfind("GET /missing ", 0) == 0) return Response("404 Not Found", "no such page");
        if (line.rfind("GET /error ", 0) == 0) return Response("500 Server Error", "oops");
        if (line.rfind("GET /moved ", 0) == 0) {
            return Response("302 Found", "", "Location: /ok\r\n");
        }
        if (line.rfind("GET /to-file ", 0) == 0) {
            return Response("302 Found", "", "Location: " + secretUrl + "\r\n");
        }
        if (line.rfind("GET /loop ", 0) == 0)
            return Response("302 Found", "", "Location: /loop\r\n");
        return Response("400 Bad Request", "");
    });
    ASSERT_TRUE(server.ok());

    EXPECT_TRUE(DownloadUrlToFile(server.Url("/ok"), scratch / "ok", HttpOptions()));
    EXPECT_EQ(ReadFile(scratch / "ok"), "hello");

    EXPECT_FALSE(DownloadUrlToFile(server.Url("/missing"), scratch / "missing", HttpOptions()));
    EXPECT_FALSE(DownloadUrlToFile(server.Url("/error"), scratch / "error", HttpOptions()));

    EXPECT_TRUE(DownloadUrlToFile(server.Url("/moved"), scratch / "moved", HttpOptions()));
    EXPECT_EQ(ReadFile(scratch / "moved"), "hello");

    // A redirect to a scheme that is not allowed is not followed.
    DownloadOptions both = HttpOptions();
    EXPECT_FALSE(DownloadUrlToFile(server.Url("/to-file"), scratch / "to-file", both));

    DownloadOptions fewRedirects = HttpOptions();
    fewRedirects.maxRedirects = 3;
    EXPECT_FALSE(DownloadUrlToFile(server.Url("/loop"), scratch / "loop", fewRedirects));

    EXPECT_EQ(Entries(scratch.path()), (std::set<std::string>{"moved", "ok", "secret"}));
}

TEST(DownloadHttp, HttpRefusedWhenOnlyHttpsIsAllowed) {
    ScratchFolder scratch;
    LoopbackServer server([](const std::string&) { return Response("200 OK", "hello"); });
    ASSERT_TRUE(server.ok());
    EXPECT_FALSE(DownloadUrlToFile(server.Url("/ok"), scratch / "ok"));  // default: https only
    EXPECT_EQ(server.requests(), 0);  // refused before any connection
    EXPECT_TRUE(Entries(scratch.path()).empty());
}

TEST(DownloadHttp, Timeout) {
    ScratchFolder scratch;
    LoopbackServer server([](const std::string&) { return std::string(); });  // never answers
    ASSERT_TRUE(server.ok());
    DownloadOptions options = HttpOptions();
    options.totalTimeout = std::chrono::milliseconds(300);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(DownloadUrlToFile(server.Url("/slow"), scratch / "slow", options));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(Entries(scratch.path()).empty());
}

TEST(DownloadHttp, ConnectionRefused) {
    ScratchFolder scratch;
    // Find a port nobody listens on: bind, note it, close.
    int port = 0;
    {
        LoopbackServer server([](const std::string&) { return std::string("x"); });
        ASSERT_TRUE(server.ok());
        const std::string url = server.Url("");
        port = std::stoi(url.substr(url.rfind(':') + 1));
    }
    EXPECT_FALSE(DownloadUrlToFile("http://127.0.0.1:" + std::to_string(port) + "/x", scratch / "x",
                                   HttpOptions()));
    EXPECT_TRUE(Entries(scratch.path()).empty());
}

}  // namespace

namespace {

TEST(Download, ABodyLongerThanTheCapFailsAndLeavesNoFile) {
    ScratchFolder scratch;
    WriteFile(scratch / "source", std::string(4096, 'x'));
    DownloadOptions options = FileOptions();
    options.maxBytes = 4096;
    EXPECT_TRUE(DownloadUrlToFile(FileUrl(scratch / "source"), scratch / "fits", options));
    options.maxBytes = 4095;
    EXPECT_FALSE(DownloadUrlToFile(FileUrl(scratch / "source"), scratch / "over", options));
    EXPECT_EQ(Entries(scratch.path()), (std::set<std::string>{"source", "fits"}));
}

}  // namespace
