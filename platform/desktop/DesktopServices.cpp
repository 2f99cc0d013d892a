#include "platform/desktop/DesktopServices.h"

#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

#include "platform/audio/SoundFileWriter.h"
#include "platform/audio/desktop/SndfileWriter.h"
#include "platform/core/Log.h"
#include "platform/desktop/DesktopAudio.h"
#include "platform/desktop/ProgramModules.h"
#include "platform/net/UrlSession.h"
#include "platform/net/curl/CurlHttpTransport.h"
#include "platform/ui/PictureFile.h"
#include "platform/ui/cairo/CairoPictureFile.h"
#include "platform/ui/qt/QtFrontend.h"

namespace platform::desktop {
namespace {

constexpr const char* kWindowModule = "qt-window.so";
constexpr const char* kWebModule = "curl-transport.so";

// The window from its module, when a display is named; without one the
// module (and Qt) is never loaded. A window module that is missing or does
// not load ends the program with the reason.
std::unique_ptr<Frontend> openWindowModule() {
    if (!ui::qt::displayNamed()) return nullptr;
    std::string error;
    const auto open = reinterpret_cast<decltype(&ui::qt::pallqaOpenWindowFrontend)>(
        moduleEntry(kWindowModule, ui::qt::kOpenWindowFrontendEntry, error));
    if (!open) throw std::runtime_error("the window cannot open: " + error);
    return std::unique_ptr<Frontend>(open());
}

// Sends through libcurl's transport, loaded from its module at the first
// request, so that a run that never goes on the network never loads libcurl.
// Without the module every request ends with the reason, logged once.
class ModuleHttpTransport final : public HttpTransport {
public:
    void start(std::shared_ptr<UrlSessionDataTask> task) override {
        std::call_once(loaded_, [this] {
            const auto make = reinterpret_cast<decltype(&net::curl::pallqaMakeCurlTransport)>(
                moduleEntry(kWebModule, net::curl::kMakeCurlTransportEntry, error_));
            if (make) {
                transport_.reset(make());
            } else {
                NSLog("No web requests: %@", error_);
            }
        });
        if (transport_) {
            transport_->start(std::move(task));
        } else {
            task->complete({0, error_});
        }
    }

private:
    std::once_flag loaded_;
    std::shared_ptr<HttpTransport> transport_;
    std::string error_;
};

}  // namespace

void installDesktopServices(ApplicationTables& tables) {
    // The rating prompt's network test really goes out from the program; tests
    // keep the recording transport.
    setHttpTransport(std::make_shared<ModuleHttpTransport>());
    // Sound files (tone --out) are written by libsndfile.
    setSoundFileWriterFactory(audio::desktop::makeSndfileWavWriter);
    // Pictures (analyze --plot) are written by cairo.
    setPictureFileMaker(ui::cairo::makeCairoPictureFile);
    installDesktopAudio();
    // The window takes no option of its own: whether one opens depends only on the display.
    tables.openWindow = [](const LaunchOptions&) { return openWindowModule(); };
    tables.setUpAudio = setUpDesktopAudio;
}

}  // namespace platform::desktop
