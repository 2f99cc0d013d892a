#include "platform/desktop/DeviceSelection.h"

#include <cstdio>

#include "platform/audio/AudioNotice.h"
#include "platform/audio/MicrophoneChoice.h"
#include "platform/audio/desktop/AudioDevices.h"
#include "platform/store/UserDefaults.h"
#include "platform/core/TerminalText.h"

namespace platform::desktop {

using audio::desktop::AudioDevice;
using audio::desktop::chooseInputDevice;
using audio::desktop::chooseOutputDevice;
using audio::desktop::chosenInputDeviceName;
using audio::desktop::describeAudioDevices;
using audio::desktop::findAudioDevice;
using audio::desktop::listAudioDevices;
using audio::desktop::recognisableMicrophones;

namespace {

// Chooses the device of that direction named on the command line; false with
// the choice's error and end status set when there is no such device.
bool chooseNamed(const std::vector<AudioDevice>& devices, const std::string& name, bool input, AudioChoice& choice) {
    const auto device = findAudioDevice(devices, name, input);
    if (!device) {
        choice.error = terminalText(input ? "no single audio input is called \"%@\" or has it in its name; the devices are:"
                                          : "no single audio output is called \"%@\" or has it in its name; the devices are:",
                                    name) +
                       "\n" + describeAudioDevices(devices);
        choice.endStatus = 2;
        return false;
    }
    (input ? chooseInputDevice : chooseOutputDevice)(device->name);
    return true;
}

void useRememberedMicrophone(const std::vector<AudioDevice>& devices) {
    const std::string remembered = UserDefaults::standardUserDefaults()->stringForKey(kRememberedMicrophoneKey);
    if (remembered.empty()) return;
    for (const AudioDevice& device : devices) {
        if (device.input && device.name == remembered) {
            chooseInputDevice(remembered);
            return;
        }
    }
    tellOnStderrAndInWindow(terminalText("the chosen microphone \"%@\" is not there; the default one listens", remembered));
}

}  // namespace

AudioChoice selectAudioDevices(const LaunchOptions& options) {
    AudioChoice choice;
    const bool named = options.inputDevice || options.outputDevice;
    const std::string remembered = UserDefaults::standardUserDefaults()->stringForKey(kRememberedMicrophoneKey);
    if (!options.listDevices && !named && remembered.empty()) return choice;  // no need to ask PortAudio
    const std::vector<AudioDevice> devices = listAudioDevices();
    if (options.listDevices) {
        std::fputs(describeAudioDevices(devices).c_str(), stdout);
        choice.endStatus = 0;
        return choice;
    }
    if (options.inputDevice && !chooseNamed(devices, *options.inputDevice, /*input=*/true, choice)) return choice;
    if (options.outputDevice && !chooseNamed(devices, *options.outputDevice, /*input=*/false, choice)) return choice;
    if (!options.inputDevice) useRememberedMicrophone(devices);
    return choice;
}

void offerMicrophoneChoice() {
    MicrophoneChoice offer;
    offer.microphones = [] { return recognisableMicrophones(listAudioDevices()); };
    offer.chosen = [] { return chosenInputDeviceName(); };
    offer.choose = [](const std::string& name) {
        chooseInputDevice(name);
        const auto defaults = UserDefaults::standardUserDefaults();
        defaults->setObject(name, kRememberedMicrophoneKey);
        defaults->synchronize();
    };
    setMicrophoneChoice(std::move(offer));
}

}  // namespace platform::desktop
