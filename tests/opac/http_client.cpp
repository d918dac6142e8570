#include "opac/http_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

namespace opac_test {

namespace {

// Whether `raw` holds a whole answer with a Content-Length.
bool Complete(const std::string& raw) {
    size_t end = raw.find("\r\n\r\n");
    if (end == std::string::npos) return false;
    std::string head = raw.substr(0, end);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    size_t at = head.find("\r\ncontent-length: ");
    if (at == std::string::npos) return false;
    return raw.size() - end - 4 >= std::stoul(head.substr(at + 18));
}

}  // namespace

Answer SendRaw(int port, const std::string& request) {
    Answer answer;
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval timeout{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return answer;
    }
    size_t sent = 0;
    while (sent < request.size()) {
        ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;  // the server may answer and close before reading it all
        sent += static_cast<size_t>(n);
    }
    std::string raw;
    char buffer[65536];
    for (;;) {
        ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        raw.append(buffer, static_cast<size_t>(n));
        if (Complete(raw)) break;  // a connection kept alive is not waited out
    }
    close(fd);
    size_t end = raw.find("\r\n\r\n");
    if (raw.rfind("HTTP/1.1 ", 0) != 0 || end == std::string::npos) return answer;
    answer.status = std::stoi(raw.substr(9, 3));
    size_t at = raw.find("\r\n") + 2;
    while (at < end) {
        size_t line = raw.find("\r\n", at);
        std::string header = raw.substr(at, line - at);
        size_t colon = header.find(':');
        std::string name = header.substr(0, colon);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        answer.headers[name] = header.substr(colon + 2);
        at = line + 2;
    }
    answer.body = raw.substr(end + 4);
    return answer;
}

Answer Get(int port, const std::string& target, const std::string& cookie) {
    std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n";
    if (!cookie.empty()) request += "Cookie: " + cookie + "\r\n";
    return SendRaw(port, request + "\r\n");
}

}  // namespace opac_test
