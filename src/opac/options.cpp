#include "opac/options.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>

namespace kashidashi::opac {

namespace {

std::optional<int> Whole(const std::string& text, int low, int high) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

// "HOST:PORT" or "[V6]:PORT".
bool ReadListen(const std::string& text, Options& options) {
    size_t colon = text.rfind(':');
    if (colon == std::string::npos) return false;
    std::string host = text.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    auto port = Whole(text.substr(colon + 1), 0, 65535);
    if (host.empty() || !port) return false;
    options.host = host;
    options.port = *port;
    return true;
}

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& problem) {
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool hasValue = i + 1 < args.size();
        if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--listen" || arg == "--name" || arg == "--index" || arg == "--refresh" ||
                   arg == "--threads") {
            if (!hasValue) {
                problem = arg + " のあとに値がありません。";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (arg == "--listen" && !ReadListen(value, options)) {
                problem = "--listen は アドレス:ポート で指定してください（例 127.0.0.1:8080）。";
                return std::nullopt;
            }
            if (arg == "--name") options.name = value;
            if (arg == "--index") options.index = value;
            if (arg == "--refresh") {
                auto seconds = Whole(value, 1, 60);
                if (!seconds) {
                    problem = "--refresh は 1 から 60 までの秒数で指定してください。";
                    return std::nullopt;
                }
                options.refreshSeconds = *seconds;
            }
            if (arg == "--threads") {
                auto threads = Whole(value, 1, 64);
                if (!threads) {
                    problem = "--threads は 1 から 64 までの数で指定してください。";
                    return std::nullopt;
                }
                options.threads = static_cast<unsigned>(*threads);
            }
        } else if (arg.rfind("--", 0) == 0) {
            problem = "知らないオプションです: " + arg;
            return std::nullopt;
        } else if (options.data.empty()) {
            options.data = arg;
        } else {
            problem = "データの場所は一つだけ指定してください。";
            return std::nullopt;
        }
    }
    if (options.data.empty()) {
        problem = "データフォルダかサーバを指定してください。";
        return std::nullopt;
    }
    if (options.index.empty()) options.index = DefaultIndexFile(options.data);
    return options;
}

std::string DefaultIndexFile(const std::string& data) {
    namespace fs = std::filesystem;
    fs::path folder;
    if (const char* state = std::getenv("STATE_DIRECTORY"); state && *state) {
        folder = state;
    } else {
        const char* home = std::getenv("HOME");
        folder = fs::path(home ? home : "/tmp") / ".cache" / "kashidashi-opac";
    }
    // One index per data place: its name kept to letters and digits.
    std::string name;
    for (unsigned char c : data) name += std::isalnum(c) ? static_cast<char>(c) : '_';
    if (name.size() > 80) name = name.substr(name.size() - 80);
    return (folder / ("index-" + name + ".sqlite")).string();
}

}  // namespace kashidashi::opac
