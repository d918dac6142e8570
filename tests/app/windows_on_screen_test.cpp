// Every window of the program on a school laptop's screen (1366x768, a task
// bar taking some of it): each frame fits the area left and lies on it.
#include <gtest/gtest.h>

#include "widgets/window_placement.h"

namespace app_test {
namespace {

using kashidashi::FitFrame;

const QMargins kFrame(4, 30, 4, 4);  // a title bar and thin borders

// The frame of a client area at a place.
QRect Frame(QPoint at, QSize client) {
    return QRect(at, client.grownBy(kFrame));
}

TEST(WindowsOnScreen, EachWindowFitsTheLaptopScreenAndLiesOnIt) {
    const QRect laptop(0, 0, 1366, 768);
    const QRect withTaskBar(0, 0, 1366, 728);  // a 40-pixel bar at the bottom
    const QRect barOnTop(0, 32, 1366, 736);
    const struct {
        const char* name;
        QPoint at;  // the frame's corner as placed before the fit
        QSize client, minimum;
        bool resizable;
        QRect area;
    } cases[] = {
        {"preview", {183, 4}, {1000, 760}, {400, 300}, true, laptop},
        {"preview over a task bar", {0, 0}, {1000, 760}, {400, 300}, true, withTaskBar},
        {"desk", {130, 20}, {1106, 728}, {1106, 728}, false, laptop},
        {"settings under a bar on top", {390, 0}, {586, 671}, {586, 671}, false, barOnTop},
        {"dialog off the right edge", {1200, 300}, {525, 258}, {525, 258}, false, laptop},
        {"dialog above the screen", {100, -200}, {562, 250}, {562, 250}, false, laptop},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect fitted =
            FitFrame(Frame(c.at, c.client), kFrame, c.minimum, c.resizable, c.area);
        EXPECT_TRUE(c.area.contains(fitted))
            << fitted.x() << "," << fitted.y() << " " << fitted.width() << "x" << fitted.height();
        if (!c.resizable) EXPECT_EQ(fitted.size(), Frame(c.at, c.client).size());
        if (Frame(c.at, c.client).intersected(c.area) == Frame(c.at, c.client))
            EXPECT_EQ(fitted.topLeft(), c.at);  // a window on screen stays where it is
    }
}

TEST(WindowsOnScreen, AFixedWindowLargerThanTheAreaKeepsItsTitleBarOnIt) {
    const QRect small(0, 0, 800, 600);
    const QRect fitted = FitFrame(Frame({50, 50}, {1106, 728}), kFrame, {1106, 728}, false, small);
    EXPECT_EQ(fitted.topLeft(), QPoint(0, 0));
    const QRect shrunk = FitFrame(Frame({50, 50}, {1000, 760}), kFrame, {400, 300}, true, small);
    EXPECT_EQ(shrunk, small);
}

}  // namespace
}  // namespace app_test
