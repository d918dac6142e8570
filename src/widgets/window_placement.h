// Window placement shared by the program's windows.
#pragma once

class QWidget;

namespace kashidashi {

// Moves the window to the centre of the primary screen; the window keeps that
// place when shown (Qt leaves a window alone once it has been moved).
void CentreOnScreen(QWidget& window);

}  // namespace kashidashi
