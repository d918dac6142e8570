// Window placement shared by the program's windows: every window fits the
// available area of its screen (the screen minus task bars and panels) and
// lies on it.
#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace kashidashi {

// Moves the window to the centre of the primary screen; the window keeps that
// place when shown (Qt leaves a window alone once it has been moved).
void CentreOnScreen(QWidget& window);

// Where a window's frame goes in `area`: a frame larger than the area is made
// smaller when the window can be resized (never below `minimum`, the least
// client size); then it is moved, as little as it takes, to lie in the area
// (a frame still too large keeps its top left corner in it, so the title bar
// can be reached). `frame` is the frame rectangle, `margins` the frame
// around the client area.
QRect FitFrame(const QRect& frame, const QMargins& margins, const QSize& minimum, bool resizable,
               const QRect& area);

// Fits the top-level window into the available area of its screen (see
// FitFrame). Before the window manager has framed the window its frame is
// estimated as a title bar and thin borders.
void FitOnScreen(QWidget& window);

// Installed on the application: fits every window and dialog when it is
// shown. One lives for the run of the program.
class WindowsOnScreen : public QObject {
  public:
    explicit WindowsOnScreen(QObject* application);
    ~WindowsOnScreen() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace kashidashi
