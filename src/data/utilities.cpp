#include "data/utilities.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

#include "platform/cp932.h"
#include "platform/half_width.h"

namespace kashidashi {
namespace {

// The mapping's output buffer holds 256 bytes with its terminating zero.
constexpr std::size_t kMappedBytes = 255;

constexpr std::string_view kFullWidthBlank = "\u3000";

}  // namespace

bool DownloadUrlToFile(std::string_view address, std::string_view path,
                       const platform::DownloadOptions& options) noexcept {
    return platform::DownloadUrlToFile(address, path, options);
}

std::string MapStringWidth(std::string_view text, unsigned flags) {
    if (flags & kLcmapHalfWidth) return platform::MapToHalfWidthCut255(text);
    const std::string stored = platform::NormaliseToCp932(text);
    return platform::Cp932Cut(stored.substr(0, stored.find('\0')), kMappedBytes);
}

std::string ToHalfWidth(std::string_view text) {
    return MapStringWidth(text, kLcmapHalfWidth);
}

void WaitWithMessages(int milliseconds) {
    if (QCoreApplication::instance() == nullptr) {
        // No event loop to serve: nothing can be pending.
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return;
    }
    QElapsedTimer clock;  // monotonic: never wraps, whatever the uptime
    clock.start();
    for (qint64 left = milliseconds; left > 0; left = milliseconds - clock.elapsed()) {
        // The timer wakes the wait when no event comes before the interval ends.
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(static_cast<int>(left));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

std::string RemoveBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == ' ') {
            ++i;
        } else if (text.substr(i, kFullWidthBlank.size()) == kFullWidthBlank) {
            i += kFullWidthBlank.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string CommaToBlank(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == ',') c = ' ';
    }
    return out;
}

}  // namespace kashidashi
