#include "platform/desktop/DesktopAudio.h"

#include <atomic>
#include <memory>

#include "platform/audio/AudioNotice.h"
#include "platform/audio/AudioOutputUnit.h"
#include "platform/audio/AudioPlayer.h"
#include "platform/audio/AudioQueue.h"
#include "platform/audio/Recording.h"
#include "platform/audio/desktop/LibraryNoise.h"
#include "platform/audio/desktop/MicrophoneInput.h"
#include "platform/audio/desktop/PortAudioOutputUnit.h"
#include "platform/audio/desktop/PortAudioPlayer.h"
#include "platform/audio/desktop/RecordingInput.h"
#include "platform/audio/desktop/SoundFileRecording.h"
#include "platform/core/Bundle.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/desktop/DeviceSelection.h"

namespace platform::desktop {

using audio::desktop::hasInputDevice;
using audio::desktop::installMicrophoneInput;
using audio::desktop::installRecordingInput;
using audio::desktop::makePortAudioOutputUnit;
using audio::desktop::makePortAudioPlayer;
using audio::desktop::openSoundFileRecording;
using audio::desktop::routeLibraryNoiseToLog;

namespace {

constexpr const char* kDemoRecording = "demo-tuning";
constexpr const char* kDemoNoticeKey = "DemoRecordingNotice";
constexpr const char* kDemoNotice =
    "No microphone found: you are hearing a demo recording of the five courses being tuned. "
    "Connect a microphone and start Pallqa Tuner again to tune your instrument.";

AudioChoice useInputFile(const std::filesystem::path& path) {
    routeLibraryNoiseToLog();
    AudioChoice choice;
    std::string error;
    const auto recording = installRecordingInput(path, error);
    if (!recording) {
        choice.error = path.string() + ": " + error;
        return choice;
    }
    choice.inputSeconds = recording->seconds;
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
            RunLoop::main()->stop();
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
    const auto demo = Bundle::mainBundle()->pathForResource(kDemoRecording, "wav");
    std::string error;
    if (demo && installRecordingInput(*demo, error)) {
        NSLogAndTellUser("No microphone: the tuner hears a recording of the five strings being tuned");
        showAudioNotice(Bundle::mainBundle()->localizedString(kDemoNoticeKey, kDemoNotice, ""));
    } else {
        NSLogAndTellUser("No microphone, and the demo recording cannot be read; the tuner hears nothing");
        showAudioNotice(Bundle::mainBundle()->localizedString(
            "NothingHeardNotice", "No microphone found, and the demo recording cannot be read: the tuner hears nothing.", ""));
    }
}

}  // namespace

void installDesktopAudio() {
    AudioComponent::setOutputUnitFactory(makePortAudioOutputUnit);
    // The decoders' own warnings on a damaged file go to the log.
    setRecordingOpener([](const std::filesystem::path& file, double sampleRate, std::string& error) {
        routeLibraryNoiseToLog();
        return openSoundFileRecording(file, sampleRate, error);
    });
}

AudioChoice setUpDesktopAudio(const LaunchOptions& options) {
    AudioChoice choice = selectAudioDevices(options);
    if (choice.endStatus) return choice;
    if (options.input) {
        choice = useInputFile(*options.input);
        if (!choice.error.empty()) return choice;
    } else {
        useMicrophoneOrDemo();
        offerMicrophoneChoice();
    }
    // At machine speed the players and the tone output stay plain: the players
    // still report each sound they start, and nothing reaches the loudspeaker.
    AudioPlayer::setFactory(options.fast ? AudioPlayer::Factory{} : makePortAudioPlayer);
    AudioComponent::setOutputUnitFactory(options.fast ? AudioOutputUnitFactory{} : makePortAudioOutputUnit);
    return choice;
}

}  // namespace platform::desktop
