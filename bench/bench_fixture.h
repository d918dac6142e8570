// Shared pieces of the benchmarks: a scratch folder, the book table filled
// through raw SQLite (setup is not measured), a timer and the report line.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "engine/storage/connection.h"

namespace bench {

std::string ScratchFolder(const std::string& name);  // empty, created
double Seconds(const std::function<void()>& work);
double Median(std::vector<double> seconds);
// `digits` decimals of the seconds (4 unless told).
void Report(const std::string& name, double engine, double raw, int digits = 4);
// Turns of the engine and of the raw side taken in step, so that both meet
// the same load of a shared machine; the medians of the turns are reported.
void ReportInStep(const std::string& name, int turns, const std::function<double(int)>& engine,
                  const std::function<double(int)>& raw);
long ResidentKilobytes();
// The school of a million books, 30,000 users and 3,000,000 loans that the
// built kashidashi-admin demo makes once in /tmp/kx-bench-school-1m and keeps
// (a marker file says it was finished).
std::string LargeSchoolFolder();

// Raw access to a folder's database file, for setup and baselines.
class RawDb {
  public:
    explicit RawDb(const std::string& folder);
    ~RawDb();
    void Exec(const std::string& sql);
    sqlite3* db() const { return db_; }

  private:
    sqlite3* db_ = nullptr;
};

// Creates the book, name and loan tables of the desk on a connection.
void CreateLendingTables(engine::storage::Connection& connection);
// Creates the book, name and loan tables of the desk through the engine and
// fills `books` books and 1,000 users through raw SQLite.
void MakeLendingTables(const std::string& folder, int books);

}  // namespace bench
