#include "platform/desktop/DesktopServices.h"

#include <memory>

#include "platform/audio/SoundFileWriter.h"
#include "platform/audio/desktop/SndfileWriter.h"
#include "platform/desktop/DesktopAudio.h"
#include "platform/net/UrlSession.h"
#include "platform/net/curl/CurlHttpTransport.h"
#include "platform/ui/qt/QtFrontend.h"

namespace platform::desktop {

void installDesktopServices(ApplicationTables& tables) {
    // The rating prompt's network test really goes out from the program; tests
    // keep the recording transport.
    setHttpTransport(std::make_shared<net::curl::CurlHttpTransport>());
    // Sound files (tone --out) are written by libsndfile.
    setSoundFileWriterFactory(audio::desktop::makeSndfileWavWriter);
    installDesktopAudio();
    // The window takes no option of its own: whether one opens depends only on the display.
    tables.openWindow = [](const LaunchOptions&) { return ui::qt::openWindowFrontend(); };
    tables.setUpAudio = setUpDesktopAudio;
}

}  // namespace platform::desktop
