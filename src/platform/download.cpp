#include "platform/download.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/paths.h"

#if LIBCURL_VERSION_NUM < 0x075500
#error "libcurl 7.85 or later is needed (CURLOPT_PROTOCOLS_STR, CURLOPT_REDIR_PROTOCOLS_STR)"
#endif

namespace platform {
namespace {

std::string AsciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    return out;
}

// The scheme of "scheme://..." in lower case, or "" when the address has none.
std::string SchemeOf(std::string_view url) {
    const std::size_t colon = url.find("://");
    if (colon == std::string_view::npos || colon == 0) return {};
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = url[i];
        const bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!alpha && !(i > 0 && other)) return {};
    }
    return AsciiLower(url.substr(0, colon));
}

bool GlobalInit() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return ok;
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};

struct Sink {
    int fd = -1;
    bool failed = false;
    std::size_t written = 0;
    std::size_t maxBytes = 0;  // 0: no limit
};

size_t WriteToFile(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const size_t total = size * count;
    sink->written += total;
    if (sink->maxBytes != 0 && sink->written > sink->maxBytes) {
        sink->failed = true;
        return 0;  // too long: libcurl ends the transfer with CURLE_WRITE_ERROR
    }
    size_t done = 0;
    while (done < total) {
        const ssize_t n = write(sink->fd, data + done, total - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            sink->failed = true;
            return 0;  // libcurl ends the transfer with CURLE_WRITE_ERROR
        }
        done += static_cast<size_t>(n);
    }
    return total;
}

// The temporary file of one download: closed and removed unless it became the target.
struct TemporaryFile {
    std::string name;
    int fd = -1;
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (fd >= 0) close(fd);
        if (!name.empty()) unlink(name.c_str());
    }
};

// Creates a new temporary file beside the target; returns its descriptor and name.
int CreateTemporary(const std::string& target, bool executable, std::string& name) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "." + base + ".part-" + std::to_string(getpid()) + "-" +
               std::to_string(counter.fetch_add(1));
        const int fd =
            open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, executable ? 0777 : 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    name.clear();
    return -1;
}

bool Transfer(CURL* curl, const std::string& url, const DownloadOptions& options, Sink& sink) {
    std::string protocols;
    for (const std::string& s : options.allowedSchemes) {
        if (!protocols.empty()) protocols += ',';
        protocols += AsciiLower(s);
    }
    const long connectMs = static_cast<long>(options.connectTimeout.count());
    const long totalMs = static_cast<long>(options.totalTimeout.count());
    const bool set =
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str()) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, protocols.c_str()) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, protocols.c_str()) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, options.maxRedirects) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, connectMs) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, totalMs) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "") == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_USERAGENT, "kashidashi") == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &WriteToFile) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink) == CURLE_OK &&
        curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                         static_cast<curl_off_t>(options.maxBytes)) == CURLE_OK;
    if (!set) return false;
    if (curl_easy_perform(curl) != CURLE_OK || sink.failed) return false;
    long status = 0;
    if (curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK) return false;
    // 0: a scheme without status (file); 1xx and 3xx (a redirect not followed) fail as 4xx do.
    return status == 0 || (status >= 200 && status < 300);
}

bool Download(std::string_view urlView, std::string_view localPath,
              const DownloadOptions& options) {
    const std::string url(urlView);
    const std::string scheme = SchemeOf(url);
    if (scheme.empty() || url.find('\0') != std::string::npos) return false;
    bool allowed = false;
    for (const std::string& s : options.allowedSchemes)
        allowed = allowed || AsciiLower(s) == scheme;
    if (!allowed) return false;

    const std::string target = MapToLocalPath(localPath);
    if (target.empty() || target.back() == '/') return false;
    if (!GlobalInit()) return false;
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) return false;

    TemporaryFile temporary;
    temporary.fd = CreateTemporary(target, options.executable, temporary.name);
    if (temporary.fd < 0) return false;
    Sink sink;
    sink.fd = temporary.fd;
    sink.maxBytes = options.maxBytes;
    bool ok = Transfer(curl.get(), url, options, sink);
    ok = fsync(temporary.fd) == 0 && ok;
    ok = close(std::exchange(temporary.fd, -1)) == 0 && ok;
    if (!ok || rename(temporary.name.c_str(), target.c_str()) != 0) return false;
    temporary.name.clear();  // it is the target now
    return true;
}

}  // namespace

bool DownloadUrlToFile(std::string_view url, std::string_view localPath,
                       const DownloadOptions& options) noexcept {
    try {
        return Download(url, localPath, options);
    } catch (...) {
        return false;
    }
}

}  // namespace platform
