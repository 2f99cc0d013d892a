#include "platform/audio/SoundFileWriter.h"

#include "platform/core/Installed.h"

namespace platform {
namespace {

Installed<SoundFileWriterFactory>& installedFactory() {
    static Installed<SoundFileWriterFactory> factory;
    return factory;
}

}  // namespace

std::unique_ptr<SoundFileWriter> createSoundFileWriter(const std::filesystem::path& path, uint32_t sampleRate,
                                                       uint16_t channels, uint64_t frames, std::string& error) {
    const SoundFileWriterFactory factory = installedFactory().get();
    if (!factory) {
        error = "this program cannot write sound files (no sound-file writer is installed)";
        return nullptr;
    }
    return factory(path, sampleRate, channels, frames, error);
}

void setSoundFileWriterFactory(SoundFileWriterFactory factory) { installedFactory().install(std::move(factory)); }

}  // namespace platform
