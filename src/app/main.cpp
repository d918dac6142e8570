// The program entry: the application title, the windows of the whole run in
// their fixed order, and the message loop until the main window closes.
#include <QApplication>
#include <QFont>

#include "app/U_Main2.h"
#include "app/start_windows.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The title names the program in the task bar and captions every message box.
    QApplication::setApplicationName(QStringLiteral("貸出と返却"));
    QApplication::setFont(QFont(QStringLiteral("IPAGothic"), 10));
    kashidashi::StartWindows windows;
    windows.Main2().show();
    return QApplication::exec();
}
