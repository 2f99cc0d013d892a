#pragma once
// The microphone as the input of the program's queues, through PortAudio.

namespace platform::audio::desktop {

// Makes every new input queue capture from the chosen (else the default) input device, at the
// queue's rate when the device offers it and otherwise at the device's own
// rate, converted. Without an input device a queue says so in one line on
// stderr and never runs, so its level reads 0.0. A device that fails while
// capturing (unplugged, its sound server gone) reads as silence at once; the
// queue says so in one line and a notice, and opens it again every second
// or two until it is back, saying so in one more line.
void installMicrophoneInput();

// Whether PortAudio finds the chosen or a default input device.
bool hasInputDevice();

}  // namespace platform::audio::desktop
