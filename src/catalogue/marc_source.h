// TSearchMARC: the MARC source of the quick registration ("日書連"), a
// search over a MARC database of our own: an SQLite file (by default at the
// mapped path of "C:\jbox\ksno.mdb") that `kashidashi-admin marc-import`
// fills. The members are those the lookup calls, in its order of use:
//
//   DataPath = path; Open()    opens the database read-only; throws MarcError
//                              when the file is missing or not a MARC database
//   Isbn = "ISBN-10"; Search() finds the records of that ISBN-10 (check
//                              character included, "X" upper case)
//   HitCount()                 the number of records found
//   ErrorFlag(), ErrorMessage() non-zero and the reason when the search failed
//   BookTitle() ... AuthorKana() the values of the first record found (UTF-8;
//                              "" when nothing was found)
//   Close()                    closes the database
//
// The layout (MarcSchema) and the meaning of each value are in the README.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

struct sqlite3;

namespace kashidashi::catalogue {

class MarcError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The statements that create an empty MARC database.
const char* MarcSchema();

// The values of one record, by column of the layout.
using MarcValues = std::map<std::string, std::string>;

class TSearchMARC {
  public:
    TSearchMARC();
    ~TSearchMARC();
    TSearchMARC(const TSearchMARC&) = delete;
    TSearchMARC& operator=(const TSearchMARC&) = delete;

    std::string DataPath;
    std::string Isbn;
    void Open();
    void Search();
    void Close();

    long HitCount() const { return hits_; }
    int ErrorFlag() const { return errorMessage_.empty() ? 0 : 1; }
    const std::string& ErrorMessage() const { return errorMessage_; }

    std::string BookTitle() const { return Value("title"); }
    std::string SubTitle() const { return Value("subtitle"); }
    std::string CallSuffix() const { return Value("call_suffix"); }
    std::string Authors() const { return Value("authors"); }
    std::string PublisherName() const { return Value("publisher"); }
    std::string IssueDate() const { return Value("issue_date"); }
    std::string PageCount() const { return Value("page_count"); }
    std::string BookSize() const { return Value("book_size"); }
    std::string SeriesName() const { return Value("series"); }
    std::string ListPrice() const { return Value("list_price"); }
    std::string TitleKana() const { return Value("title_kana"); }
    std::string NdcClass() const { return Value("ndc"); }
    std::string AuthorKana() const { return Value("author_kana"); }

  private:
    std::string Value(const char* column) const;

    sqlite3* db_ = nullptr;
    long hits_ = 0;
    std::string errorMessage_;
    MarcValues first_;
};

}  // namespace kashidashi::catalogue
