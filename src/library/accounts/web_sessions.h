// The logged-in sessions of the web pages, kept in the catalogue's memory
// (a restart logs everybody out). A session is named by a random token of
// 32 bytes that only the browser holds (the store keeps its SHA-256), ends
// after 30 minutes without a request or when the user logs out, and carries
// its own random form token that every form changing data must send back.
// Safe to use from several threads.
#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace kashidashi::accounts {

struct WebSession {
    std::string school;  // the school's path name ("" for a catalogue of one school)
    std::string nameId;
    std::string formToken;
};

class SessionStore {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::minutes kIdleLimit{30};
    static constexpr size_t kMostSessions = 100000;

    // A new session; its token for the cookie. When the store is full the
    // sessions idle longest go first.
    std::string Open(const std::string& school, const std::string& nameId,
                     Clock::time_point now = Clock::now());
    // The session of a token that has not ended, touched (its idle time
    // starts again).
    std::optional<WebSession> Find(const std::string& token, Clock::time_point now = Clock::now());
    void Close(const std::string& token);
    // Ends every session of one user (after a password change, a new password).
    void CloseAllOf(const std::string& school, const std::string& nameId);
    void CloseAll();
    size_t Count() const;

  private:
    struct Entry {
        WebSession session;
        Clock::time_point lastUse;
    };
    void DropIdle(Clock::time_point now);

    mutable std::mutex mutex_;
    std::map<std::string, Entry> sessions_;  // by the token's digest
};

}  // namespace kashidashi::accounts
