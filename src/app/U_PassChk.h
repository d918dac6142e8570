// TPassChk: a hidden, empty window that lives for the whole run and owns the
// PIN prompt.
//
// CheckUserPin shows TPW and accepts the entry when it equals, byte for byte,
// the stored PIN (head.PM5 as "%.4d"; null, 0 and kUnsetPinMarker mean that
// no PIN is set, and then the default PIN is in force) or the master code.
// The entry is taken however the prompt was closed. A refused number ends
// the program without a word; an entry with letters is told to be four
// digits before it is refused.
#pragma once

#include <QWidget>
#include <string>

namespace kashidashi {

class TPassChk : public QWidget {
    Q_OBJECT
  public:
    explicit TPassChk(QWidget* parent = nullptr);
    ~TPassChk() override;

    // The single instance, while it exists.
    static TPassChk& Instance();

    bool CheckUserPin();

    // The PIN in force for a stored head.PM5 (null reads as 0).
    static std::string StoredPin(long long pm5);
    // True when the entry opens the desk for that stored PIN.
    static bool PinAccepted(const std::string& entry, const std::string& storedPin);

  private:
    std::string PromptForPin();
};

}  // namespace kashidashi
