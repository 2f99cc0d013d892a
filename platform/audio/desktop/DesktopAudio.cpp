#include "platform/audio/desktop/DesktopAudio.h"

#include <atomic>
#include <memory>

#include "platform/audio/AudioOutputUnit.h"
#include "platform/audio/AudioQueue.h"
#include "platform/audio/AudioPlayer.h"
#include "platform/core/Bundle.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/audio/desktop/MicrophoneInput.h"
#include "platform/audio/desktop/PortAudioOutputUnit.h"
#include "platform/audio/desktop/PortAudioPlayer.h"
#include "platform/audio/desktop/RecordingDecoder.h"
#include "platform/audio/desktop/RecordingInput.h"

namespace platform::media {
namespace {

constexpr const char* kDemoRecording = "demo-tuning";

AudioChoice useInputFile(const std::filesystem::path& path) {
    AudioChoice choice;
    std::string error;
    const auto recording = readMonoRecording(path, error);
    if (!recording || !installRecordingInput(path, error)) {
        choice.error = path.string() + ": " + error;
        return choice;
    }
    choice.inputSeconds = static_cast<double>(recording->samples.size()) / recording->sampleRate;
    // A queue that cannot hear the recording (its rate cannot be converted to
    // the queue's, say: the reader has said why on stderr) fails the run: the
    // main loop stops, and the application main ends the run with status 1.
    auto failed = std::make_shared<std::atomic<bool>>(false);
    AudioQueue::setInputFactory([reader = AudioQueue::inputFactory(), failed](
                                    const AudioStreamBasicDescription& format, AudioQueueInputCallback callback,
                                    void* userData) -> std::unique_ptr<AudioQueue> {
        auto queue = reader ? reader(format, callback, userData) : nullptr;
        if (!queue) {
            failed->store(true);
            RunLoop::main().stop();
        }
        return queue;
    });
    choice.inputFailed = [failed] { return failed->load(); };
    return choice;
}

void useMicrophoneOrDemo() {
    if (hasInputDevice()) {
        installMicrophoneInput();
        return;
    }
    const auto demo = Bundle::mainBundle().pathForResource(kDemoRecording, "wav");
    std::string error;
    if (demo && installRecordingInput(*demo, error)) {
        NSLog("No microphone: the tuner hears a recording of the five strings being tuned");
    } else {
        NSLog("No microphone, and the demo recording cannot be read; the tuner hears nothing");
    }
}

}  // namespace

AudioChoice setUpDesktopAudio(const LaunchOptions& options) {
    AudioChoice choice;
    if (options.input) {
        choice = useInputFile(*options.input);
        if (!choice.error.empty()) return choice;
    } else {
        useMicrophoneOrDemo();
    }
    // At machine speed the players and the tone output stay plain: the players
    // still report each sound they start, and nothing reaches the loudspeaker.
    if (!options.fast) {
        AudioPlayer::setFactory(makePortAudioPlayer);
        AudioComponent::setOutputUnitFactory(makePortAudioOutputUnit);
    }
    return choice;
}

}  // namespace platform::media
