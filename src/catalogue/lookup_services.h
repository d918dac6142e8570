// Where the lookups ask, and how: the one place that holds the base
// addresses of the two services, Rakuten's application identifier, the
// limits of a request and the path of the MARC database. The program uses the defaults; tests (and
// `kashidashi-admin lookup --base`) point the addresses at a local server.
//
// A request fails when it cannot connect within connectTimeout, has not
// finished within totalTimeout, would store more than maxBytes, or answers
// with a status outside 2xx; a failed request is a failed download, never
// an empty answer.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/download.h"

namespace kashidashi::catalogue {

struct LookupServices {
    std::string ndlBase = "https://ndlsearch.ndl.go.jp";
    std::string rakutenBase = "https://app.rakuten.co.jp";
    std::string rakutenApplicationId = "5820193746601827394";
    // The answer file, in the process's current folder, overwritten each time.
    std::string answerFile = "$$2013";
    // The local MARC database (marc_source.h).
    std::string marcDataPath = "C:\\jbox\\ksno.mdb";
    std::vector<std::string> allowedSchemes{"https"};
    std::chrono::milliseconds connectTimeout{std::chrono::seconds(10)};
    std::chrono::milliseconds totalTimeout{std::chrono::seconds(30)};
    std::size_t maxBytes = 2 * 1024 * 1024;

    platform::DownloadOptions Options() const;
};

// The settings every lookup uses; tests replace them and put them back.
LookupServices& Services();

// Downloads the address into the answer file under the settings.
bool DownloadAnswer(const std::string& url);

}  // namespace kashidashi::catalogue
