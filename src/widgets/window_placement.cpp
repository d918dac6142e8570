#include "widgets/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kashidashi {

void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

}  // namespace kashidashi
