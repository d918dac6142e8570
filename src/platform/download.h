// URL download into a file (URLDownloadToFileA of the original), on libcurl.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct DownloadOptions {
    // Schemes the address and every redirect may use, lower case, as libcurl names them.
    // Downloads of the updater and the lookups are HTTPS only; tests add "file" or "http".
    std::vector<std::string> allowedSchemes{"https"};
    // Time to establish the connection, and for the whole transfer (0: no limit).
    std::chrono::milliseconds connectTimeout{std::chrono::seconds(15)};
    std::chrono::milliseconds totalTimeout{std::chrono::seconds(60)};
    // Redirects followed at most (each within allowedSchemes).
    long maxRedirects = 10;
    // Bytes the body may have at most (0: no limit); a longer body fails the download.
    std::size_t maxBytes = 0;
    // Give the file execute permission (mode 0777 less the umask instead of 0666), for a
    // program that is started after the download (the updater).
    bool executable = false;
};

// Stores the resource at the address in the file (a drive, UNC, POSIX or relative path; see
// paths.h) and returns true on success. Never throws: every failure gives false, among them an
// address whose scheme is not allowed (checked before any connection), a redirect to a scheme
// that is not allowed, an HTTP status outside 2xx, a body longer than maxBytes, a timeout, a folder that does not exist
// and a file that cannot be written.
//
// The body is written to a temporary file beside the target (".<name>.part-...") and renamed
// onto the target only when the transfer completed, so a failure leaves no partial file and
// leaves a file already at the target as it was; a success replaces it. A compressed transfer
// encoding is decoded, so the file holds the body itself.
bool DownloadUrlToFile(std::string_view url, std::string_view localPath,
                       const DownloadOptions& options = {}) noexcept;

}  // namespace platform
