#include "platform/audio/desktop/AudioDevices.h"

#include <portaudio.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "platform/audio/desktop/PortAudioSession.h"
#include "platform/core/Installed.h"
#include "platform/core/TerminalText.h"

namespace platform::audio::desktop {
namespace {

// The devices' names; empty for the default ones.
struct Choice {
    std::string input;
    std::string output;
};

Installed<Choice>& choice() {
    static Installed<Choice> chosen;
    return chosen;
}

// The device of that direction called `name`, else the default one.
PaDeviceIndex deviceNamed(const std::string& name, bool input) {
    if (!name.empty()) {
        const PaDeviceIndex count = Pa_GetDeviceCount();
        for (PaDeviceIndex index = 0; index < count; ++index) {
            const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
            if (info != nullptr && name == info->name &&
                (input ? info->maxInputChannels : info->maxOutputChannels) > 0) {
                return index;
            }
        }
    }
    return input ? Pa_GetDefaultInputDevice() : Pa_GetDefaultOutputDevice();
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void describe(std::string& text, const std::vector<AudioDevice>& devices, bool input) {
    text += terminalText(input ? "Inputs:" : "Outputs:") + "\n";
    bool any = false;
    for (const AudioDevice& device : devices) {
        if (input ? !device.input : !device.output) continue;
        const bool isDefault = input ? device.defaultInput : device.defaultOutput;
        text += (isDefault ? "  * " : "    ") + device.name + " (" + device.hostApi + ")" +
                (isDefault ? terminalText(", the default") : "") + "\n";
        any = true;
    }
    if (!any) text += "    " + terminalText("none") + "\n";
}

// ALSA's plugins as PortAudio lists them: each only routes to another device.
constexpr std::array<std::string_view, 14> kRoutingPlugins = {
    "default", "sysdefault", "pulse", "pipewire", "jack", "dmix", "dsnoop",
    "lavrate", "samplerate", "speexrate", "speex", "upmix", "vdownmix", "oss"};

}  // namespace

std::vector<std::string> recognisableMicrophones(const std::vector<AudioDevice>& devices) {
    std::vector<std::string> names;
    for (const AudioDevice& device : devices) {
        const bool routing = device.hostApi == "ALSA" &&
                             std::find(kRoutingPlugins.begin(), kRoutingPlugins.end(), device.name) != kRoutingPlugins.end();
        if (device.input && !routing) names.push_back(device.name);
    }
    return names;
}

std::vector<AudioDevice> listAudioDevices() {
    const auto session = PortAudioSession::acquire();
    if (!session) return {};
    std::vector<AudioDevice> devices;
    const PaDeviceIndex count = Pa_GetDeviceCount();
    for (PaDeviceIndex index = 0; index < count; ++index) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
        if (info == nullptr) continue;
        const PaHostApiInfo* host = Pa_GetHostApiInfo(info->hostApi);
        AudioDevice device;
        device.index = index;
        device.name = info->name;
        device.hostApi = host != nullptr ? host->name : "";
        device.input = info->maxInputChannels > 0;
        device.output = info->maxOutputChannels > 0;
        device.defaultInput = index == Pa_GetDefaultInputDevice();
        device.defaultOutput = index == Pa_GetDefaultOutputDevice();
        devices.push_back(std::move(device));
    }
    return devices;
}

std::string describeAudioDevices(const std::vector<AudioDevice>& devices) {
    std::string text;
    describe(text, devices, /*input=*/true);
    describe(text, devices, /*input=*/false);
    return text;
}

std::optional<AudioDevice> findAudioDevice(const std::vector<AudioDevice>& devices, const std::string& name,
                                           bool input) {
    const auto ofDirection = [input](const AudioDevice& device) { return input ? device.input : device.output; };
    for (const AudioDevice& device : devices) {
        if (ofDirection(device) && device.name == name) return device;
    }
    const std::string wanted = lowered(name);
    std::optional<AudioDevice> found;
    for (const AudioDevice& device : devices) {
        if (!ofDirection(device) || lowered(device.name).find(wanted) == std::string::npos) continue;
        if (found) return std::nullopt;  // more than one: the user has to say which
        found = device;
    }
    return found;
}

void chooseInputDevice(const std::string& name) {
    choice().with([&name](Choice& chosen) { chosen.input = name; });
}

void chooseOutputDevice(const std::string& name) {
    choice().with([&name](Choice& chosen) { chosen.output = name; });
}

int chosenInputDevice() { return deviceNamed(choice().get().input, /*input=*/true); }

std::string chosenInputDeviceName() { return choice().get().input; }

int chosenOutputDevice() { return deviceNamed(choice().get().output, /*input=*/false); }

}  // namespace platform::audio::desktop
