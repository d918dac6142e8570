#include "exchange/file_bytes.h"

#include <fstream>
#include <sstream>

namespace kashidashi::exchange {

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError("ファイル「" + path + "」を開けません。");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) throw FileError("ファイル「" + path + "」を読めません。");
    return bytes.str();
}

}  // namespace kashidashi::exchange
