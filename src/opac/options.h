// kashidashi-opac's command line:
//
//   kashidashi-opac DATA [--listen HOST:PORT] [--name NAME] [--index FILE]
//                        [--refresh SECONDS] [--threads N] [--quiet]
//
// DATA is a data folder or server://USER@HOST[:PORT]/DATABASE (the password
// from KASHIDASHI_PASSWORD). --listen defaults to 127.0.0.1:8080 ("[::1]:8080"
// for IPv6); --name is the school's name on the pages (学校図書館); --index
// the word index file (default: index.sqlite in $STATE_DIRECTORY, which
// systemd gives the service, or else in ~/.cache/kashidashi-opac/, one per
// data place); --refresh how often the index is brought up to date (30).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kashidashi::opac {

struct Options {
    std::string data;
    std::string host = "127.0.0.1";
    int port = 8080;
    std::string name = "学校図書館";
    std::string index;
    int refreshSeconds = 30;
    unsigned threads = 4;
    bool quiet = false;
};

// Nothing, with `problem` in plain Japanese, for a command line that is wrong.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& problem);

// The index file for a data place when --index is not given.
std::string DefaultIndexFile(const std::string& data);

inline constexpr const char* kUsage =
    "使い方: kashidashi-opac データフォルダ|server://USER@HOST[:PORT]/DATABASE\n"
    "          [--listen アドレス:ポート] [--name 学校名] [--index 索引ファイル]\n"
    "          [--refresh 秒] [--threads 数] [--quiet]\n"
    "       kashidashi-opac --version\n";

}  // namespace kashidashi::opac
