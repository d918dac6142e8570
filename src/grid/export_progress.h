// ExportProgress: the small window "データ出力中" that an export of a grid
// shows while it works.
//
// Made: the window that holds the grid is disabled; a window of 200 x 110,
// centred on the screen, always on top, with a title but no border icons,
// holds a progress bar, a label and, for the CSV export, the button
// "キャンセル" that calls onCancel. CSV: bar 0..0, step 1, label "準備中".
// Spreadsheet: bar 0..100, step 10, label "Excel 読み込み中", one step made at
// once. It is shown and pending events run, so it paints at once.
//
// Close() (also run by the destructor, once): the grid's window is enabled
// again and brought to the front, and the progress window destroyed.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QDialog;
class QLabel;
class QProgressBar;
class QWidget;

namespace kashidashi {

class ExportProgress {
  public:
    static constexpr const char* kCaption = "データ出力中";
    enum class Kind { Csv, Spreadsheet };

    ExportProgress(QWidget& grid, Kind kind, std::function<void()> onCancel = {});
    ~ExportProgress();
    ExportProgress(const ExportProgress&) = delete;
    ExportProgress& operator=(const ExportProgress&) = delete;

    void SetMaximum(int maximum);
    int Maximum() const;
    // Moves the bar on by its step (back to the start past the maximum); the
    // bar shows it when events next run.
    void StepIt();
    int Position() const { return position_; }
    // The label's new text, shown when events next run (a label set every
    // few rows would otherwise lay its text out each time).
    void SetLabel(const QString& text);
    void Close();

    // Lets pending window events run (painting, the Cancel button).
    void ProcessMessages();
    // The same between rows: at most every kEventsEveryMs, so that a long
    // export does not spend its time asking the system for events that are
    // not there; the window still paints and answers 60 times a second.
    void LetEventsRun();
    static constexpr int kEventsEveryMs = 16;

  private:
    void Build(Kind kind, std::function<void()> onCancel);

    QPointer<QWidget> holder_;
    std::unique_ptr<QDialog> dialog_;
    QProgressBar* bar_ = nullptr;
    QLabel* label_ = nullptr;
    int step_ = 1;
    int position_ = 0;
    QString labelText_;
    bool labelPending_ = false;
    QElapsedTimer sinceEvents_;
};

}  // namespace kashidashi
