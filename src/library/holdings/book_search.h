// Searching the catalogue. Every word of the query must match (AND): a
// book number (whole, leading zeros or not), an ISBN of 10 or 13 digits
// (hyphens or not), or a part of the title, subtitle, series, authors,
// publisher, the two readings, the call number, the NDC code or its name,
// the storage place; with `startsWith` a word must begin one of them. Words
// are folded (SearchWords: hiragana, katakana and half-width katakana meet,
// full-width letters and digits meet ASCII), and so are the books' texts.
// A registration period narrows the search. Each book comes with its state.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/common/value.h"
#include "engine/storage/connection.h"

namespace kashidashi::library::holdings {

struct BookQuery {
    std::string words;
    bool startsWith = false;
    std::optional<engine::Date> registeredFrom, registeredTo;
};

enum class ShelfState { OnShelf, OnLoan, NotForLoan, Discarded, Lost };

struct BookHit {
    int64_t number = 0;
    std::string title, authors, publisher, callNumber, place, isbn;
    std::optional<engine::Date> registered;
    ShelfState state = ShelfState::OnShelf;
    bool reserved = false;
    std::optional<engine::Date> due;  // on loan
};

// In book-number order.
std::vector<BookHit> SearchBooks(engine::storage::Connection& connection, const BookQuery& query);

// "在架", "貸出中（2026/12/20まで）", "禁帯", "除籍", "不明", with "・予約あり".
std::string StateText(const BookHit& hit);

}  // namespace kashidashi::library::holdings
