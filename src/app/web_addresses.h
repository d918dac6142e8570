// Every web address the program knows, in one place. An organisation that runs
// its own support and update server changes them here and nowhere else.
//
// The update addresses are HTTPS: the updater is a program that the desk
// starts, so it is fetched only over an authenticated connection (the
// download itself refuses every other scheme, redirects included).
#pragma once

#include <string_view>

namespace kashidashi {

// The support web site, shown under the client/server settings.
inline constexpr const char* kSupportSiteAddress = "https://www.example.jp/kashidashi/";
// The client/server manual page, opened from the settings window.
inline constexpr const char* kClientServerManualAddress =
    "https://www.example.jp/kashidashi/manual/client-server.html";
// The updater program, stored as "dload.exe" beside the program file, and
// the folder of the update packages (a package is <base>/<ProductCode>.exe).
// Empty while there is no update server: a built copy's バージョンアップ then
// says so; an installed copy is updated by the system's packages anyway.
inline constexpr const char* kUpdaterAddress = "";
inline constexpr const char* kUpdatePackageBase = "";

static_assert(std::string_view(kUpdaterAddress).empty() ||
              std::string_view(kUpdaterAddress).starts_with("https://"));
static_assert(std::string_view(kUpdatePackageBase).empty() ||
              std::string_view(kUpdatePackageBase).starts_with("https://"));

}  // namespace kashidashi
