#pragma once
// The machine's audio devices as PortAudio sees them, and the ones the user
// chose by name (--input-device, --output-device, the window's microphone
// setting). Streams open the chosen device, else the default one.

#include <optional>
#include <string>
#include <vector>

namespace platform::audio::desktop {

struct AudioDevice {
    int index = -1;  // PortAudio's, valid while PortAudio stays initialised
    std::string name;
    std::string hostApi;
    bool input = false;   // has input channels
    bool output = false;  // has output channels
    bool defaultInput = false;
    bool defaultOutput = false;
};

// Every device; empty when PortAudio cannot start.
std::vector<AudioDevice> listAudioDevices();

// The microphones a user would choose among by name: the sound cards and the
// sound servers' own inputs, without ALSA's routing plugins ("default",
// "sysdefault", "pulse", "pipewire", "dmix" …), which lead to the system's
// default or to a card listed already.
std::vector<std::string> recognisableMicrophones(const std::vector<AudioDevice>& devices);

// The text of --list-devices: inputs, then outputs, one line each with the
// name and the host API, the defaults marked.
std::string describeAudioDevices(const std::vector<AudioDevice>& devices);

// The device of that direction called `name`, else the only one whose name
// holds it (ignoring case); nothing when none or several do.
std::optional<AudioDevice> findAudioDevice(const std::vector<AudioDevice>& devices, const std::string& name,
                                           bool input);

// The devices new streams open, by their full names; an empty name means the
// default device. Any thread.
void chooseInputDevice(const std::string& name);
void chooseOutputDevice(const std::string& name);
// PortAudio's index of the chosen device, else of the default one (also when
// the chosen one has gone); paNoDevice when there is none.
int chosenInputDevice();
// The name given to chooseInputDevice(); empty for the default.
std::string chosenInputDeviceName();
int chosenOutputDevice();

}  // namespace platform::audio::desktop
