#pragma once
// Opens addresses with the desktop's xdg-open, started directly with the
// address as its one argument (no shell sees it). The store's own scheme has no
// handler on a desktop, so its pages open on the web.

#include <string>

#include "platform/ui/Application.h"

namespace platform::ui::qt {

class XdgUrlOpener : public UrlOpener {
public:
    // Main thread. Logs one line when xdg-open cannot be started or the text is
    // not an address.
    void open(const std::string& url) override;
};

// The address the desktop opens for `url`: "itms-apps://…" becomes "https://…";
// others stay as they are. Empty for text that is not an address (no scheme,
// or one that could pass for an option).
std::string desktopAddress(const std::string& url);

}  // namespace platform::ui::qt
