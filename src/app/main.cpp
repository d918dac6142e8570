// The program entry: the application title, the windows of the whole run in
// their fixed order, and the message loop until the main window closes.
// `kashidashi --version` prints the version and ends before any window.
#include <QApplication>
#include <QFont>
#include <cstring>
#include <iostream>

#include "app/U_Main2.h"
#include "app/start_windows.h"
#include "kashidashi/version.h"

int main(int argc, char* argv[]) {
    // Before the application object: that needs a display, --version does not.
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "kashidashi " << kashidashi::kVersion << "\n";
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QString::fromUtf8(kashidashi::kVersion));
    // The title names the program in the task bar and captions every message box.
    QApplication::setApplicationName(QStringLiteral("貸出と返却"));
    QApplication::setFont(QFont(QStringLiteral("IPAGothic"), 10));
    kashidashi::StartWindows windows;
    windows.Main2().show();
    return QApplication::exec();
}
