#include "platform/desktop/DeviceSelection.h"

#include <cstdio>

#include "platform/audio/MicrophoneChoice.h"
#include "platform/audio/desktop/AudioDevices.h"
#include "platform/store/UserDefaults.h"

namespace platform::desktop {

using audio::desktop::AudioDevice;
using audio::desktop::chooseInputDevice;
using audio::desktop::chooseOutputDevice;
using audio::desktop::chosenInputDeviceName;
using audio::desktop::describeAudioDevices;
using audio::desktop::findAudioDevice;
using audio::desktop::listAudioDevices;

namespace {

// Chooses the device of that direction named on the command line; false with
// the choice's error and end status set when there is no such device.
bool chooseNamed(const std::vector<AudioDevice>& devices, const std::string& name, bool input, AudioChoice& choice) {
    const auto device = findAudioDevice(devices, name, input);
    if (!device) {
        choice.error = std::string("no single audio ") + (input ? "input" : "output") + " is called \"" + name +
                       "\" or has it in its name; the devices are:\n" + describeAudioDevices(devices);
        choice.endStatus = 2;
        return false;
    }
    (input ? chooseInputDevice : chooseOutputDevice)(device->name);
    return true;
}

void useRememberedMicrophone(const std::vector<AudioDevice>& devices) {
    const std::string remembered = UserDefaults::standardUserDefaults().stringForKey(kRememberedMicrophoneKey);
    if (remembered.empty()) return;
    for (const AudioDevice& device : devices) {
        if (device.input && device.name == remembered) {
            chooseInputDevice(remembered);
            return;
        }
    }
    std::fprintf(stderr, "pallqa-tuner: the chosen microphone \"%s\" is not there; the default one listens\n",
                 remembered.c_str());
}

}  // namespace

AudioChoice selectAudioDevices(const LaunchOptions& options) {
    AudioChoice choice;
    const bool named = options.inputDevice || options.outputDevice;
    const std::string remembered = UserDefaults::standardUserDefaults().stringForKey(kRememberedMicrophoneKey);
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
    offer.microphones = [] {
        std::vector<std::string> names;
        for (const AudioDevice& device : listAudioDevices()) {
            if (device.input) names.push_back(device.name);
        }
        return names;
    };
    offer.chosen = [] { return chosenInputDeviceName(); };
    offer.choose = [](const std::string& name) {
        chooseInputDevice(name);
        UserDefaults& defaults = UserDefaults::standardUserDefaults();
        defaults.setObject(name, kRememberedMicrophoneKey);
        defaults.synchronize();
    };
    setMicrophoneChoice(std::move(offer));
}

}  // namespace platform::desktop
