#include "library/accounts/web_sessions.h"

#include <algorithm>
#include <vector>

#include "library/accounts/password_hash.h"

namespace kashidashi::accounts {

std::string SessionStore::Open(const std::string& school, const std::string& nameId,
                               Clock::time_point now) {
    std::string token = RandomToken();
    std::lock_guard lock(mutex_);
    DropIdle(now);
    if (sessions_.size() >= kMostSessions) {
        auto oldest = std::min_element(sessions_.begin(), sessions_.end(), [](auto& a, auto& b) {
            return a.second.lastUse < b.second.lastUse;
        });
        sessions_.erase(oldest);
    }
    sessions_[TokenDigest(token)] = {{school, nameId, RandomToken()}, now};
    return token;
}

std::optional<WebSession> SessionStore::Find(const std::string& token, Clock::time_point now) {
    if (token.empty() || token.size() > 100) return std::nullopt;
    const std::string digest = TokenDigest(token);
    std::lock_guard lock(mutex_);
    auto it = sessions_.find(digest);
    if (it == sessions_.end()) return std::nullopt;
    if (now - it->second.lastUse >= kIdleLimit) {
        sessions_.erase(it);
        return std::nullopt;
    }
    it->second.lastUse = now;
    return it->second.session;
}

void SessionStore::Close(const std::string& token) {
    const std::string digest = TokenDigest(token);
    std::lock_guard lock(mutex_);
    sessions_.erase(digest);
}

void SessionStore::CloseAllOf(const std::string& school, const std::string& nameId) {
    std::lock_guard lock(mutex_);
    std::erase_if(sessions_, [&](const auto& entry) {
        return entry.second.session.school == school && entry.second.session.nameId == nameId;
    });
}

void SessionStore::CloseAll() {
    std::lock_guard lock(mutex_);
    sessions_.clear();
}

size_t SessionStore::Count() const {
    std::lock_guard lock(mutex_);
    return sessions_.size();
}

// Sessions idle past the limit go when a new one opens, so that the store
// never grows with the forgotten ones.
void SessionStore::DropIdle(Clock::time_point now) {
    std::erase_if(sessions_,
                  [&](const auto& entry) { return now - entry.second.lastUse >= kIdleLimit; });
}

}  // namespace kashidashi::accounts
