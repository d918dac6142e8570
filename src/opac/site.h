// One school as the catalogue serves it: its name, its data (read through a
// pool of read-only connections), its word index and its code lists. A
// program serves one school at "/", or several (a city's) each under
// "/s/ID/" (Sites).
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "opac/catalogue.h"
#include "opac/connection_pool.h"
#include "opac/popular.h"
#include "opac/search_index.h"

namespace kashidashi::opac {

class Site {
  public:
    // `id` empty for the one school served at "/". The opener's connections
    // are wrapped read-only here.
    Site(std::string id, std::string name, ConnectionPool::Opener opener, std::string indexFile);

    const std::string& Id() const { return id_; }
    const std::string& Name() const { return name_; }
    // The beginning of every address of this school's pages: "" or "/s/ID".
    std::string Base() const { return id_.empty() ? std::string() : "/s/" + id_; }

    ConnectionPool& Data() { return pool_; }
    const SearchIndex& Index() const { return index_; }
    CodeNames Codes() const;
    const Popular& Lists() const { return popular_; }

    // Brings the index and the code lists up to the data; the counts of the
    // index's refresh. Called by one thread (refresher.h), and once at start.
    RefreshCounts Refresh();
    // Counts the loans of the last 90 days again (popular.h).
    void CountLoans();

  private:
    std::string id_, name_;
    ConnectionPool pool_;
    SearchIndex index_;
    mutable std::mutex codesMutex_;
    CodeNames codes_;
    Popular popular_;
};

class Sites {
  public:
    void Add(std::unique_ptr<Site> site);
    // The school of an id ("" the one at "/"); nothing when none has it.
    Site* Find(const std::string& id) const;
    std::vector<Site*> All() const;

  private:
    std::map<std::string, std::unique_ptr<Site>> sites_;
};

}  // namespace kashidashi::opac
