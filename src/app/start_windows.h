// The windows and holders that live for the whole run, created at start in
// their fixed order: the main window TMain2 first (so it is the application's
// main window), the data module TDM, then the single instances that other
// windows reach by name (the desk dialogs through DeskWindows). Released in
// the reverse order, the data module last.
#pragma once

#include <memory>

namespace kashidashi {

class TMain2;
class TPassChk;
class TMakeTable;

class StartWindows {
  public:
    // Creates them all; only one set exists at a time.
    StartWindows();
    ~StartWindows();
    StartWindows(const StartWindows&) = delete;
    StartWindows& operator=(const StartWindows&) = delete;

    TMain2& Main2() { return *main2_; }
    // The holder of the settings-table scripts, while a set exists.
    static TMakeTable& MakeTable();

  private:
    std::unique_ptr<TMain2> main2_;
    std::unique_ptr<TPassChk> passChk_;
    std::unique_ptr<TMakeTable> makeTable_;
};

}  // namespace kashidashi
