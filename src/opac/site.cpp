#include "opac/site.h"

#include "engine/common/dates.h"
#include "opac/read_only_connection.h"

namespace kashidashi::opac {

Site::Site(std::string id, std::string name, ConnectionPool::Opener opener, std::string indexFile)
    : id_(std::move(id)),
      name_(std::move(name)),
      pool_([opener = std::move(opener)] { return ReadOnly(opener()); }),
      index_(std::move(indexFile)) {}

CodeNames Site::Codes() const {
    std::lock_guard lock(codesMutex_);
    return codes_;
}

RefreshCounts Site::Refresh() {
    auto data = pool_.Take();
    auto counts = index_.Refresh(*data);
    auto codes = ReadCodeNames(*data);
    std::lock_guard lock(codesMutex_);
    codes_ = std::move(codes);
    return counts;
}

void Site::CountLoans() {
    auto data = pool_.Take();
    popular_.Count(*data, index_, engine::Today().days - kPopularDays);
}

void Sites::Add(std::unique_ptr<Site> site) {
    std::string id = site->Id();
    sites_[id] = std::move(site);
}

Site* Sites::Find(const std::string& id) const {
    auto it = sites_.find(id);
    return it == sites_.end() ? nullptr : it->second.get();
}

std::vector<Site*> Sites::All() const {
    std::vector<Site*> all;
    for (const auto& [id, site] : sites_) all.push_back(site.get());
    return all;
}

}  // namespace kashidashi::opac
