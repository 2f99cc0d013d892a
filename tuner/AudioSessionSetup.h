#pragma once
// The audio session the tuner screen measures in: play and record, sounding
// through the built-in speaker, in measurement mode. Main thread only.

namespace tuner {

// Asks the shared session for the tuner's category and mode and activates
// it; a refused category or mode is not fatal. Without a session, logs
// "Error creating session: %@" and does nothing more: capture starts anyway.
void setUpAudioSessionForMeasuring();

}  // namespace tuner
