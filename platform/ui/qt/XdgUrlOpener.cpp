#include "platform/ui/qt/XdgUrlOpener.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <cctype>

#include "platform/core/Log.h"

namespace platform::ui::qt {
namespace {

constexpr const char* kStoreScheme = "itms-apps:";
constexpr const char* kWebScheme = "https:";

// A scheme is a letter followed by letters, digits, '+', '-' or '.', then ':'.
bool hasScheme(const std::string& url) {
    const auto colon = url.find(':');
    if (colon == std::string::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(url[0]))) return false;
    for (size_t i = 1; i < colon; ++i) {
        const char c = url[i];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

}  // namespace

std::string desktopAddress(const std::string& url) {
    if (!hasScheme(url)) return {};
    if (url.rfind(kStoreScheme, 0) == 0) return kWebScheme + url.substr(std::string(kStoreScheme).size());
    return url;
}

void XdgUrlOpener::open(const std::string& url) {
    const std::string address = desktopAddress(url);
    if (address.empty()) {
        NSLog("Not an address, not opened: %@", url);
        return;
    }
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{QString::fromStdString(address)})) {
        NSLog("Could not start xdg-open to open %@", address);
    }
}

}  // namespace platform::ui::qt
