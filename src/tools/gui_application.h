// The Qt Gui application of a kashidashi-admin command that measures fonts
// or paints pages (labels, cards, the statistics' prints, the new year's
// saved statistics). A command run from a terminal, or from cron without a
// display, gets the offscreen platform unless QT_QPA_PLATFORM names
// another; Qt's own texts are Japanese. Made once, on first need.
#pragma once

namespace kashidashi::admin {

void EnsureGuiApplication();

}  // namespace kashidashi::admin
