#pragma once
// PortAudio's ALSA host, ALSA and its PulseAudio plugin print their own
// complaints on stderr — a dozen lines each time a device goes away or a
// reconnection is refused — and libmpg123 its own on every damaged MP3. The
// program says what matters in one line of its own; the libraries' lines
// belong in the log.

#include <string_view>

namespace platform::audio::desktop {

// From now on stderr passes through a filter that sends the audio libraries'
// lines to the log and everything else on to the terminal unchanged. Once per
// process (later calls do nothing); the terminal gets stderr back at exit.
void routeLibraryNoiseToLog();

// Whether a line of stderr is one of the audio libraries' own.
bool isLibraryNoise(std::string_view line);

}  // namespace platform::audio::desktop
