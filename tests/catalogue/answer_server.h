// A local HTTP server for the lookup tests: it answers requests whose target
// starts with a registered prefix with the recorded body and status, or
// holds the connection open without a word (a hung service). It listens on
// 127.0.0.1 on a port of its own, serves from a thread of its own and
// remembers every request target.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace catalogue_test {

class AnswerServer {
  public:
    AnswerServer();
    ~AnswerServer();
    AnswerServer(const AnswerServer&) = delete;
    AnswerServer& operator=(const AnswerServer&) = delete;

    // "http://127.0.0.1:PORT"
    std::string Base() const;
    // Requests whose target starts with the prefix get the body (the longest
    // matching prefix wins; no match gives 404).
    void Serve(const std::string& prefix, const std::string& body, int status = 200);
    // Requests whose target starts with the prefix get no answer.
    void Hang(const std::string& prefix);
    std::vector<std::string> Requests() const;

  private:
    struct Route {
        std::string prefix, body;
        int status;
        bool hang;
    };
    void Run();
    void Answer(int fd);
    Route Find(const std::string& target) const;

    int listener_ = -1;
    int port_ = 0;
    int stopPipe_[2] = {-1, -1};
    mutable std::mutex mutex_;
    std::vector<Route> routes_;
    std::vector<std::string> requests_;
    std::vector<int> held_;
    std::thread thread_;
};

// The test file's bytes (tests/catalogue/answers/NAME).
std::string RecordedAnswer(const std::string& name);

}  // namespace catalogue_test
