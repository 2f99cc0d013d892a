// The microphones the window offers by name: cards and sound-server inputs,
// not ALSA's plugins that only route to another device.
#include <gtest/gtest.h>

#include "platform/audio/desktop/AudioDevices.h"

namespace {

using platform::audio::desktop::AudioDevice;

AudioDevice input(const std::string& name, const std::string& hostApi) {
    AudioDevice device;
    device.name = name;
    device.hostApi = hostApi;
    device.input = true;
    return device;
}

TEST(RecognisableMicrophones, AreTheCardsAndServerInputsWithoutTheRoutingPluginsOrOutputs) {
    AudioDevice speaker = input("HDA Intel PCH: ALC892 Analog (hw:0,0)", "ALSA");
    speaker.input = false;
    speaker.output = true;
    const std::vector<AudioDevice> devices = {
        input("HDA Intel PCH: ALC892 Analog (hw:0,0)", "ALSA"), input("sysdefault", "ALSA"), input("pulse", "ALSA"),
        input("default", "ALSA"),  input("dsnoop", "ALSA"), input("USB Audio: Mic (hw:1,0)", "ALSA"),
        input("system", "JACK Audio Connection Kit"), speaker};
    EXPECT_EQ(platform::audio::desktop::recognisableMicrophones(devices),
              (std::vector<std::string>{"HDA Intel PCH: ALC892 Analog (hw:0,0)", "USB Audio: Mic (hw:1,0)", "system"}));
}

}  // namespace
