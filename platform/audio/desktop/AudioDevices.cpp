#include "platform/audio/desktop/AudioDevices.h"

#include <portaudio.h>

#include <algorithm>
#include <cctype>
#include <mutex>

#include "platform/audio/desktop/PortAudioSession.h"

namespace platform::media {
namespace {

struct Choice {
    std::mutex mutex;
    std::string input;
    std::string output;
};

Choice& choice() {
    static Choice chosen;
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
    text += input ? "Inputs:\n" : "Outputs:\n";
    bool any = false;
    for (const AudioDevice& device : devices) {
        if (input ? !device.input : !device.output) continue;
        const bool isDefault = input ? device.defaultInput : device.defaultOutput;
        text += (isDefault ? "  * " : "    ") + device.name + " (" + device.hostApi + ")" +
                (isDefault ? ", the default" : "") + "\n";
        any = true;
    }
    if (!any) text += "    none\n";
}

}  // namespace

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
    std::lock_guard lock(choice().mutex);
    choice().input = name;
}

void chooseOutputDevice(const std::string& name) {
    std::lock_guard lock(choice().mutex);
    choice().output = name;
}

int chosenInputDevice() {
    std::unique_lock lock(choice().mutex);
    const std::string name = choice().input;
    lock.unlock();
    return deviceNamed(name, /*input=*/true);
}

std::string chosenInputDeviceName() {
    std::lock_guard lock(choice().mutex);
    return choice().input;
}

int chosenOutputDevice() {
    std::unique_lock lock(choice().mutex);
    const std::string name = choice().output;
    lock.unlock();
    return deviceNamed(name, /*input=*/false);
}

}  // namespace platform::media
