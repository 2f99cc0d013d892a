#include "platform/desktop/DesktopServices.h"

#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

#include "platform/audio/SoundFileWriter.h"
#include "platform/audio/desktop/SndfileWriter.h"
#include "platform/core/Log.h"
#include "platform/core/TerminalText.h"
#include "platform/desktop/DesktopAudio.h"
#include "platform/desktop/ProgramModules.h"
#include "platform/net/UrlSession.h"
#include "platform/net/curl/CurlHttpTransport.h"
#include "platform/ui/PictureFile.h"
#include "platform/ui/cairo/CairoPictureFile.h"
#include "platform/ui/qt/QtFrontend.h"

namespace platform::desktop {
namespace {

constexpr ProgramModule kWindowModule{"qt-window.so", ui::qt::kOpenWindowFrontendEntry};
constexpr ProgramModule kWebModule{"curl-transport.so", net::curl::kMakeCurlTransportEntry};
constexpr ProgramModule kPictureModule{"cairo-pictures.so", ui::cairo::kMakeCairoPictureFileEntry};

// The window from its module, when a display is named; without one the
// module (and Qt) is never loaded. A window module that is missing or does
// not load ends the program with the reason; the console (--headless) needs
// no module.
std::unique_ptr<Frontend> openWindowModule() {
    if (!ui::qt::displayNamed()) return nullptr;
    const ModuleEntry entry = moduleEntry(kWindowModule);
    if (entry.missing) {
        throw std::runtime_error(terminalText("the window module %@ is missing: %@ is not there; the console runs without it (--headless)",
                                              kWindowModule.file, entry.path));
    }
    if (!entry.address) {
        throw std::runtime_error(terminalText(
            "the window module %@ cannot be loaded: %@; the console runs without it (--headless)", kWindowModule.file,
            entry.reason));
    }
    const auto open = reinterpret_cast<decltype(&ui::qt::pallqaOpenWindowFrontend)>(entry.address);
    return std::unique_ptr<Frontend>(open());
}

// Sends through libcurl's transport, loaded from its module at the first
// request, so that a run that never goes on the network never loads libcurl.
// Without the module every request ends with the reason, logged once.
class ModuleHttpTransport final : public HttpTransport {
public:
    void start(std::shared_ptr<UrlSessionDataTask> task) override {
        std::call_once(loaded_, [this] {
            const ModuleEntry entry = moduleEntry(kWebModule);
            if (entry.address) {
                transport_.reset(reinterpret_cast<decltype(&net::curl::pallqaMakeCurlTransport)>(entry.address)());
            } else {
                error_ = "the web transport module " + std::string(kWebModule.file) + " cannot be used: " + entry.reason;
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

// A picture made by cairo, loaded from its module for the first picture of the
// run; without the module no picture is made, and `error` says why.
std::unique_ptr<PictureFile> makeModulePictureFile(const std::filesystem::path& file, double width, double height,
                                                   std::string& error) {
    const ModuleEntry entry = moduleEntry(kPictureModule);
    if (!entry.address) {
        error = terminalText("the picture module %@ cannot be used: %@", kPictureModule.file, entry.reason);
        return nullptr;
    }
    const auto make = reinterpret_cast<decltype(&ui::cairo::pallqaMakeCairoPictureFile)>(entry.address);
    return std::unique_ptr<PictureFile>(make(file, width, height, error));
}

}  // namespace

void installDesktopServices(ApplicationTables& tables) {
    // The rating prompt's network test really goes out from the program; tests
    // keep the recording transport.
    setHttpTransport(std::make_shared<ModuleHttpTransport>());
    // Sound files (tone --out) are written by libsndfile.
    setSoundFileWriterFactory(audio::desktop::makeSndfileWavWriter);
    // Pictures (analyze --plot) are written by cairo.
    setPictureFileMaker(makeModulePictureFile);
    installDesktopAudio();
    // The window takes no option of its own: whether one opens depends only on the display.
    tables.openWindow = [](const LaunchOptions&) { return openWindowModule(); };
    tables.setUpAudio = setUpDesktopAudio;
}

}  // namespace platform::desktop
