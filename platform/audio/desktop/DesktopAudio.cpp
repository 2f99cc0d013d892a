#include "platform/audio/desktop/DesktopAudio.h"

#include "platform/audio/AudioOutputUnit.h"
#include "platform/audio/AudioPlayer.h"
#include "platform/audio/Recording.h"
#include "platform/core/Bundle.h"
#include "platform/core/Log.h"
#include "platform/audio/desktop/MicrophoneInput.h"
#include "platform/audio/desktop/PortAudioOutputUnit.h"
#include "platform/audio/desktop/PortAudioPlayer.h"
#include "platform/audio/desktop/RecordingDecoder.h"
#include "platform/audio/desktop/RecordingInput.h"
#include "platform/audio/desktop/SoundFileRecording.h"

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

void installDesktopAudio() {
    AudioComponent::setOutputUnitFactory(makePortAudioOutputUnit);
    setRecordingOpener(openSoundFileRecording);
}

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
    AudioPlayer::setFactory(options.fast ? AudioPlayer::Factory{} : makePortAudioPlayer);
    AudioComponent::setOutputUnitFactory(options.fast ? AudioOutputUnitFactory{} : makePortAudioOutputUnit);
    return choice;
}

}  // namespace platform::media
