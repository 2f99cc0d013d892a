#pragma once
// The desktop's implementations of the platform services, chosen in one place:
// the window (Qt), the sound card and sound files (PortAudio, libsndfile,
// libsoxr), pictures written to files (cairo) and the network (libcurl). The
// window, the pictures and the network are modules of the program
// (ProgramModules.h), loaded only by a run that uses them.

#include "platform/launch/ApplicationMain.h"

namespace platform::desktop {

// Installs the services every command may use (the web transport, the
// sound-file writer, the picture writer, the tone output and the recording
// opener) and hands the
// application main the desktop window and the audio set-up for a run.
void installDesktopServices(ApplicationTables& tables);

}  // namespace platform::desktop
