#include "opac/pupil_places.h"

#include <iostream>

namespace kashidashi::opac {

namespace {
constexpr std::chrono::seconds kSwitchesKept{20};
}

PupilPlaces& PupilPlaces::Instance() {
    static PupilPlaces places;
    return places;
}

void PupilPlaces::Add(const std::string& siteId, ConnectionPool::Opener opener) {
    std::lock_guard lock(mutex_);
    places_[siteId].pool = std::make_unique<ConnectionPool>(std::move(opener));
    places_[siteId].known = false;
}

void PupilPlaces::Clear() {
    std::lock_guard lock(mutex_);
    places_.clear();
    sessions_.CloseAll();
}

ConnectionPool* PupilPlaces::Writes(const std::string& siteId) {
    std::lock_guard lock(mutex_);
    auto it = places_.find(siteId);
    return it == places_.end() ? nullptr : it->second.pool.get();
}

accounts::WebSwitches PupilPlaces::Switches(const std::string& siteId) {
    ConnectionPool* pool = nullptr;
    {
        std::lock_guard lock(mutex_);
        auto it = places_.find(siteId);
        if (it == places_.end()) return {};
        const auto now = std::chrono::steady_clock::now();
        if (it->second.known && now - it->second.read < kSwitchesKept) return it->second.switches;
        pool = it->second.pool.get();
    }
    accounts::WebSwitches switches;
    try {
        auto data = pool->Take();
        switches = accounts::ReadWebSwitches(*data);
    } catch (const std::exception& error) {
        // Off while the data cannot be read; the next page tries again.
        std::cerr << "kashidashi-opac: 利用者のページの設定を読めません: " << error.what()
                  << std::endl;
        return {};
    }
    std::lock_guard lock(mutex_);
    auto& place = places_[siteId];
    place.switches = switches;
    place.read = std::chrono::steady_clock::now();
    place.known = true;
    return switches;
}

void PupilPlaces::ForgetSwitches(const std::string& siteId) {
    std::lock_guard lock(mutex_);
    auto it = places_.find(siteId);
    if (it != places_.end()) it->second.known = false;
}

}  // namespace kashidashi::opac
