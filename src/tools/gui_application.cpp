#include "tools/gui_application.h"

#include <QGuiApplication>
#include <memory>

#include "data/japanese_texts.h"

namespace kashidashi::admin {

void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kashidashi-admin";
    static char* argv[] = {name, nullptr};
    static auto app = std::make_unique<QGuiApplication>(argc, argv);
    InstallJapaneseTexts();  // any text of Qt's own that reaches the operator
}

}  // namespace kashidashi::admin
