#include "widgets/window_placement.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace kashidashi {
namespace {

// A window manager's title bar and borders, for a window not yet framed.
constexpr QMargins kEstimatedFrame(4, 30, 4, 4);

QMargins FrameMargins(const QWidget& window) {
    if (const QWindow* handle = window.windowHandle()) {
        const QMargins real = handle->frameMargins();
        if (!real.isNull()) return real;
    }
    return kEstimatedFrame;
}

// The position of a span that keeps it in [low, high) if it can; a span
// longer than that starts at low.
int Clamp(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length));
}

}  // namespace

void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

QRect FitFrame(const QRect& frame, const QMargins& margins, const QSize& minimum, bool resizable,
               const QRect& area) {
    QSize size = frame.size();
    if (resizable) {
        const QSize least = minimum.grownBy(margins);
        size = size.boundedTo(area.size()).expandedTo(least);
    }
    const int x = Clamp(frame.x(), size.width(), area.left(), area.left() + area.width());
    const int y = Clamp(frame.y(), size.height(), area.top(), area.top() + area.height());
    return QRect(QPoint(x, y), size);
}

void FitOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QMargins margins = FrameMargins(window);
    // pos() of a window is its frame's corner; size() the client area's.
    const QRect frame(window.pos(), window.size().grownBy(margins));
    const bool resizable = window.minimumSize() != window.maximumSize();
    const QRect fitted =
        FitFrame(frame, margins, window.minimumSize(), resizable, screen->availableGeometry());
    if (fitted.size() != frame.size()) window.resize(fitted.size().shrunkBy(margins));
    if (fitted.topLeft() != frame.topLeft()) window.move(fitted.topLeft());
}

WindowsOnScreen::WindowsOnScreen(QObject* application) : QObject(application) {
    application->installEventFilter(this);
}

WindowsOnScreen::~WindowsOnScreen() {
    if (parent()) parent()->removeEventFilter(this);
}

bool WindowsOnScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog)) FitOnScreen(*widget);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kashidashi
