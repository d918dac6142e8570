// The program entry: the command line, the application title, Qt's Japanese
// texts, the windows of the whole run in their fixed order, and the message
// loop until the main window closes.
//
// The command line is read before anything else, so that --help and
// --version need no display and create nothing; the desk takes no other
// argument, and any other is refused (exit status 2) before a window or a
// database is made.
#include <QApplication>
#include <QFont>
#include <iostream>
#include <string_view>

#include "app/U_Main2.h"
#include "app/start_windows.h"
#include "data/japanese_texts.h"
#include "kashidashi/version.h"
#include "widgets/window_placement.h"

namespace {

constexpr const char* kUsageLine = "使い方: kashidashi [--help | --version]\n";

void PrintHelp() {
    std::cout << kUsageLine
              << "学校図書館の貸出と返却の窓口を開きます。起動したフォルダが作業フォルダになり、\n"
                 "設定のデータベースはそこに置かれます。\n"
                 "\n"
                 "  --help     この説明を表示して終わります\n"
                 "  --version  バージョンを表示して終わります\n"
                 "\n"
                 "学校のデータの作成・取り込み・バックアップなどは kashidashi-admin で行います\n"
                 "（kashidashi-admin --help）。\n";
}

// -1 to go on and open the desk; otherwise the exit status.
int ReadCommandLine(int argc, char* argv[]) {
    if (argc < 2) return -1;
    std::string_view word = argv[1];
    if (argc == 2 && word == "--help") {
        PrintHelp();
        return 0;
    }
    if (argc == 2 && word == "--version") {
        std::cout << "kashidashi " << kashidashi::kVersion << "\n";
        return 0;
    }
    std::cerr << "kashidashi: 使えない引数です: " << word << "\n" << kUsageLine;
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Before the application object: that needs a display, these do not.
    if (int status = ReadCommandLine(argc, argv); status >= 0) return status;
    QApplication app(argc, argv);
    kashidashi::InstallJapaneseTexts();
    QApplication::setApplicationVersion(QString::fromUtf8(kashidashi::kVersion));
    // The title names the program in the task bar and captions every message box.
    QApplication::setApplicationName(QStringLiteral("貸出と返却"));
    QApplication::setFont(QFont(QStringLiteral("IPAGothic"), 10));
    // Every window fits the screen, a laptop's included, and lies on it.
    new kashidashi::WindowsOnScreen(&app);
    kashidashi::StartWindows windows;
    windows.Main2().show();
    return QApplication::exec();
}
