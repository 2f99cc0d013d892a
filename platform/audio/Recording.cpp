#include "platform/audio/Recording.h"

#include <mutex>

namespace platform {
namespace {

std::mutex& openerMutex() {
    static std::mutex mutex;
    return mutex;
}

RecordingOpener& openerSlot() {
    static RecordingOpener opener;
    return opener;
}

}  // namespace

std::unique_ptr<Recording> openRecording(const std::filesystem::path& file, double sampleRate, std::string& error) {
    RecordingOpener opener;
    {
        std::lock_guard lock(openerMutex());
        opener = openerSlot();
    }
    if (!opener) {
        error = "recordings cannot be read here";
        return nullptr;
    }
    return opener(file, sampleRate, error);
}

void setRecordingOpener(RecordingOpener opener) {
    std::lock_guard lock(openerMutex());
    openerSlot() = std::move(opener);
}

}  // namespace platform
