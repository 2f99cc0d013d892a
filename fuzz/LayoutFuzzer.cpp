// The layout loader: any bytes as a layout document must load (every scene
// built and bound) or be refused with a log line, never crash.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/core/Log.h"
#include "platform/ui/LayoutLoader.h"
#include "platform/ui/ViewController.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto quiet = platform::setLogSink([](const std::string&) {});
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto storyboard = platform::Storyboard::fromText(
        "Fuzz", text,
        {{"ViewController", [] { return std::make_shared<platform::ViewController>(); }},
         {"ChordsViewController", [] { return std::make_shared<platform::ViewController>(); }}});
    if (!storyboard) return 0;
    storyboard->instantiateInitialViewController();
    for (const auto& identifier : storyboard->sceneIdentifiers()) {
        storyboard->instantiateViewControllerWithIdentifier(identifier);
    }
    return 0;
}
