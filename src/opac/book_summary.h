// Pieces of the pages that show books: a work's line in a list (title with
// its reading, authors, publisher, year, and whether a copy can be borrowed
// now) and a copy's state in words.
#pragma once

#include <vector>

#include "opac/catalogue.h"
#include "opac/html.h"
#include "opac/page_frame.h"
#include "opac/search_index.h"

namespace kashidashi::opac {

// 貸出できます / 貸出中（○月○日までに返る予定） / 禁帯出, as a marked span.
Html CopyStateHtml(const View& view, const CopyInfo& copy);

// One <li> per work, read live; works whose books are all gone are skipped.
Html WorkList(const View& view, engine::storage::Connection& data,
              const std::vector<SearchHit>& hits);

}  // namespace kashidashi::opac
