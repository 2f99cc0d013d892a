#include "platform/audio/Recording.h"

#include "platform/core/Installed.h"

namespace platform {
namespace {

Installed<RecordingOpener>& openerSlot() {
    static Installed<RecordingOpener> opener;
    return opener;
}

}  // namespace

std::unique_ptr<Recording> openRecording(const std::filesystem::path& file, double sampleRate, std::string& error) {
    const RecordingOpener opener = openerSlot().get();
    if (!opener) {
        error = "recordings cannot be read here";
        return nullptr;
    }
    return opener(file, sampleRate, error);
}

void setRecordingOpener(RecordingOpener opener) { openerSlot().install(std::move(opener)); }

}  // namespace platform
