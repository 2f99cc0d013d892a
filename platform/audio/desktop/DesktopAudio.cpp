#include "platform/audio/desktop/DesktopAudio.h"

#include "platform/audio/AudioNotice.h"
#include "platform/audio/AudioOutputUnit.h"
#include "platform/audio/AudioPlayer.h"
#include "platform/audio/Recording.h"
#include "platform/core/Bundle.h"
#include "platform/core/Log.h"
#include "platform/audio/desktop/DeviceSelection.h"
#include "platform/audio/desktop/MicrophoneInput.h"
#include "platform/audio/desktop/PortAudioOutputUnit.h"
#include "platform/audio/desktop/PortAudioPlayer.h"
#include "platform/audio/desktop/RecordingInput.h"
#include "platform/audio/desktop/SoundFileRecording.h"

namespace platform::media {
namespace {

constexpr const char* kDemoRecording = "demo-tuning";
constexpr const char* kDemoNotice =
    "No microphone found: you are hearing a demo recording of the five courses being tuned. "
    "Connect a microphone and start Pallqa Tuner again to tune your instrument.";

AudioChoice useInputFile(const std::filesystem::path& path) {
    AudioChoice choice;
    std::string error;
    const auto recording = installRecordingInput(path, error);
    if (!recording) {
        choice.error = path.string() + ": " + error;
        return choice;
    }
    choice.inputSeconds = recording->seconds;
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
        NSLogAndTellUser("No microphone: the tuner hears a recording of the five strings being tuned");
        setAudioNotice(kDemoNotice);
    } else {
        NSLogAndTellUser("No microphone, and the demo recording cannot be read; the tuner hears nothing");
    }
}

}  // namespace

void installDesktopAudio() {
    AudioComponent::setOutputUnitFactory(makePortAudioOutputUnit);
    setRecordingOpener(openSoundFileRecording);
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

}  // namespace platform::media
