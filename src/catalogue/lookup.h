// The ISBN lookups: each fills the looked-up record (lookup_record.h) from
// one source and copies it into the book record's empty columns.
//
// Every lookup takes the ISBN as text of 12 or 13 ASCII digits and a
// LookupContext: the book record written and the way a message reaches the
// operator. Messages are the sources' own Japanese texts.
//
// Abandoning: after its message a lookup throws LookupAbandoned, which the
// caller swallows silently (the operator's action ends where it was: the
// ISBN box keeps its text and the focus). An engine error or any other
// exception is for the caller's error display; the lookup is abandoned too.
// A service's answer that cannot be read (cut off, not XML or JSON, not
// UTF-8) is no exception: it ends in the service's failure message. A lookup that returns normally may still
// have shown a message (Rakuten without a title, every MARC message).
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "catalogue/book_record.h"

namespace kashidashi::catalogue {

class LookupAbandoned : public std::exception {
  public:
    explicit LookupAbandoned(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

  private:
    std::string message_;
};

struct LookupContext {
    BookRecord& book;
    std::function<void(const std::string& message)> say;  // shows a message (UTF-8)
};

// The National Diet Library search: one OpenSearch request by ISBN; the
// fields come from the first book of its answer (answer_read.h).
void LookupNdl(const std::string& isbnDigits, LookupContext& context);
// The Rakuten Books search API by ISBN.
void LookupRakuten(const std::string& isbnDigits, LookupContext& context);
// The local MARC source (marc_source.h).
void LookupMarc(const std::string& isbnDigits, LookupContext& context);

// Copies the looked-up record into the columns of the book that read empty
// and derives the classification columns; the book is left in edit mode.
void CopyLookupToBook(BookRecord& book);

// Shows the message and abandons the lookup.
[[noreturn]] void Abandon(LookupContext& context, const std::string& message);

}  // namespace kashidashi::catalogue
