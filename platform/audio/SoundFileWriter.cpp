#include "platform/audio/SoundFileWriter.h"

#include <mutex>

namespace platform {
namespace {

std::mutex& factoryMutex() {
    static std::mutex mutex;
    return mutex;
}

SoundFileWriterFactory& installedFactory() {
    static SoundFileWriterFactory factory;
    return factory;
}

}  // namespace

std::unique_ptr<SoundFileWriter> createSoundFileWriter(const std::filesystem::path& path, uint32_t sampleRate,
                                                       uint16_t channels, std::string& error) {
    SoundFileWriterFactory factory;
    {
        std::lock_guard lock(factoryMutex());
        factory = installedFactory();
    }
    if (!factory) {
        error = "this program cannot write sound files (no sound-file writer is installed)";
        return nullptr;
    }
    return factory(path, sampleRate, channels, error);
}

void setSoundFileWriterFactory(SoundFileWriterFactory factory) {
    std::lock_guard lock(factoryMutex());
    installedFactory() = std::move(factory);
}

}  // namespace platform
