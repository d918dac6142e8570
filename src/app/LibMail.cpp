#include "app/LibMail.h"

#include "platform/shell.h"

namespace kashidashi {

TLibMail::TLibMail(QObject* parent) : QObject(parent) {}

bool TLibMail::OpenHomePage() {
    accepted_ = platform::ShellOpen(homePageAddress_.toStdString());
    return accepted_;
}

}  // namespace kashidashi
