// What the pages show of the school's books, read live from its tables at
// each request: a book's description, the state of each copy of its work,
// and how many are waiting for it. Who holds a book or who waits for it is
// never read into these records, so no page can show it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::opac {

struct BookDetails {
    int64_t id = 0;
    std::string series, title, subtitle, titleReading, publisher, year, callNumber, isbn,
        description;
    std::vector<std::string> authors;  // the non-empty ones, in order
    std::optional<double> ndc;
    std::optional<int64_t> place, mainClass;
    std::optional<engine::Date> registered;
};

enum class CopyState { Available, OnLoan, NotForLoan };

struct CopyInfo {
    int64_t id = 0;
    CopyState state = CopyState::Available;
    std::optional<engine::Date> due;  // an open loan's due date
    std::string callNumber;
    std::optional<int64_t> place;
    bool closedStack = false;  // 閉架: asked for at the counter
};

struct CodeNames {
    std::map<double, std::string> ndc;     // NDC_ID -> 分類名
    std::map<int64_t, std::string> place;  // HKN_ID -> 保管場所
    std::string Ndc(std::optional<double> code) const;
    std::string Place(std::optional<int64_t> code) const;
};

// Nothing for a book number no book has, or a discarded or deleted book.
std::optional<BookDetails> ReadBook(engine::storage::Connection& data, int64_t id);

// The copies among `ids` that are still shown, in the order given.
std::vector<CopyInfo> ReadCopies(engine::storage::Connection& data,
                                 const std::vector<int64_t>& ids);

// The reservations waiting for any of the copies or for the ISBN.
int WaitingCount(engine::storage::Connection& data, const std::vector<int64_t>& ids,
                 const std::string& isbn);

// The code lists NDC and HKN (empty where a table is missing).
CodeNames ReadCodeNames(engine::storage::Connection& data);

}  // namespace kashidashi::opac
