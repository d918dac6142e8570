// One prepared statement of the word index's own SQLite file: parameters
// bound by number, rows stepped through, finalized on destruction. Failures
// throw std::runtime_error with SQLite's text.
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace kashidashi::opac {

class Statement {
  public:
    Statement(sqlite3* db, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void Bind(int index, int64_t value);
    void Bind(int index, const std::string& value);
    bool Step();  // true while there is a row
    void Run();   // steps to the end
    void Reset();

    int Int(int column) const;
    int64_t Int64(int column) const;
    std::string Text(int column) const;

  private:
    void Check(int code) const;
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace kashidashi::opac
