// A plain HTTP/1.1 client for the server tests: one request written raw on
// a fresh connection to 127.0.0.1, the whole answer read back.
#pragma once

#include <map>
#include <string>

namespace opac_test {

struct Answer {
    int status = 0;                              // 0: no answer
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
};

Answer SendRaw(int port, const std::string& request);
Answer Get(int port, const std::string& target, const std::string& cookie = "");

}  // namespace opac_test
