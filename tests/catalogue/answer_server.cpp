#include "answer_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace catalogue_test {

AnswerServer::AnswerServer() {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        pipe(stopPipe_) != 0)
        throw std::runtime_error("the answer server cannot listen");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

AnswerServer::~AnswerServer() {
    (void)!write(stopPipe_[1], "x", 1);
    thread_.join();
    for (int fd : held_) close(fd);
    close(listener_);
    close(stopPipe_[0]);
    close(stopPipe_[1]);
}

std::string AnswerServer::Base() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

void AnswerServer::Serve(const std::string& prefix, const std::string& body, int status) {
    std::lock_guard lock(mutex_);
    routes_.push_back({prefix, body, status, false});
}

void AnswerServer::Hang(const std::string& prefix) {
    std::lock_guard lock(mutex_);
    routes_.push_back({prefix, "", 0, true});
}

std::vector<std::string> AnswerServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

AnswerServer::Route AnswerServer::Find(const std::string& target) const {
    Route best{"", "", 404, false};
    for (const Route& r : routes_)
        if (target.rfind(r.prefix, 0) == 0 && r.prefix.size() >= best.prefix.size()) best = r;
    return best;
}

void AnswerServer::Run() {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    while (poll(fds, 2, -1) >= 0 && !(fds[1].revents & POLLIN)) {
        if (!(fds[0].revents & POLLIN)) continue;
        const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) Answer(fd);
    }
}

void AnswerServer::Answer(int fd) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        head.append(buffer, static_cast<size_t>(n));
    }
    const std::size_t start = head.find(' ') + 1;
    const std::string target = head.substr(start, head.find(' ', start) - start);
    std::lock_guard lock(mutex_);
    requests_.push_back(target);
    const Route route = Find(target);
    if (route.hang) return held_.push_back(fd);
    const std::string reply = "HTTP/1.1 " + std::to_string(route.status) +
                              " Answer\r\nContent-Type: application/json\r\nContent-Length: " +
                              std::to_string(route.body.size()) + "\r\nConnection: close\r\n\r\n" +
                              route.body;
    for (std::size_t done = 0; done < reply.size();) {
        const ssize_t n = send(fd, reply.data() + done, reply.size() - done, MSG_NOSIGNAL);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    close(fd);
}

std::string RecordedAnswer(const std::string& name) {
    std::ifstream in(std::string(KX_TEST_DATA) + "/catalogue/answers/" + name, std::ios::binary);
    if (!in) throw std::runtime_error("no recorded answer " + name);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace catalogue_test
