#include "catalogue/lookup_services.h"

namespace kashidashi::catalogue {

platform::DownloadOptions LookupServices::Options() const {
    platform::DownloadOptions options;
    options.allowedSchemes = allowedSchemes;
    options.connectTimeout = connectTimeout;
    options.totalTimeout = totalTimeout;
    options.maxBytes = maxBytes;
    return options;
}

LookupServices& Services() {
    static LookupServices services;
    return services;
}

bool DownloadAnswer(const std::string& url) {
    const LookupServices& services = Services();
    return platform::DownloadUrlToFile(url, services.answerFile, services.Options());
}

}  // namespace kashidashi::catalogue
