// The test program of the application layer: its windows need a QApplication,
// so the program has its own main (the GoogleTest main is not used).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <cstdlib>

int main(int argc, char* argv[]) {
    // Offscreen unless a platform was chosen (the screenshots run under xcb).
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("貸出と返却"));
    QApplication::setFont(QFont(QStringLiteral("IPAGothic"), 10));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
