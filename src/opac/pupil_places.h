// The pupils' pages' side of each school the catalogue serves: a pool of
// connections that may write (the only ones of the program: reservations
// through the desk's rules, the accounts' lock counts and passwords), the
// school's switches (read again at most every 20 seconds, so that a page's
// menu costs no read), and the sessions of every school.
//
// A school without a pool here has no pupils' pages: they answer 404.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "library/accounts/web_sessions.h"
#include "library/accounts/web_switches.h"
#include "opac/connection_pool.h"

namespace kashidashi::opac {

class PupilPlaces {
  public:
    static PupilPlaces& Instance();

    // The writing opener of the school `siteId` ("" the one at "/").
    void Add(const std::string& siteId, ConnectionPool::Opener opener);
    // Forgets every school and session (tests).
    void Clear();

    ConnectionPool* Writes(const std::string& siteId);
    // The school's switches; all off for a school without a pool, or when
    // they cannot be read.
    accounts::WebSwitches Switches(const std::string& siteId);
    // The switches read afresh now (after a page found them changed).
    void ForgetSwitches(const std::string& siteId);
    accounts::SessionStore& Sessions() { return sessions_; }

  private:
    struct Place {
        std::unique_ptr<ConnectionPool> pool;
        accounts::WebSwitches switches;
        std::chrono::steady_clock::time_point read{};
        bool known = false;
    };
    std::mutex mutex_;
    std::map<std::string, Place> places_;
    accounts::SessionStore sessions_;
};

}  // namespace kashidashi::opac
