#pragma once
// The console frontend: the screen as text. It collects the changes of one
// main-loop event and prints one line per event that changed the screen: the
// elapsed seconds, then `outlet=value` for each changed element (a text as
// name="text", a picture as name=file.png or name=none, visibility as
// name.hidden=yes|no, a switch as name.on=yes|no, a slider as name.value=5),
// and play=file when a sound starts:
//
//     12.34 freq_label="440Hz" noteDisplay="A4" LEDDisplay=green64.png play=beep-full.wav
//
// Only named elements are shown; a value changed and changed back within one
// event is no change. Main thread only.

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/audio/PlaybackObserver.h"
#include "platform/ui/Frontend.h"
#include "platform/ui/View.h"

namespace platform {

class ConsoleFrontend : public Frontend, private UiObserver {
public:
    // Installs itself as the UI and playback observer for its lifetime.
    explicit ConsoleFrontend(std::ostream& out);
    ~ConsoleFrontend() override;
    ConsoleFrontend(const ConsoleFrontend&) = delete;
    ConsoleFrontend& operator=(const ConsoleFrontend&) = delete;

    // A virtual clock is moved on by `seconds` at once (not at all when none).
    int run(RunLoop& loop, ApplicationDelegate& delegate, std::optional<double> seconds) override;

    // Ends one event: prints its line, stamped `elapsed`, if the screen changed.
    void endEvent(double elapsed);

private:
    void viewDidChange(View& view, Change change) override;
    void soundStarted(const std::string& fileName);

    // One aspect of an element (its text, its picture, ...) that changed, or a
    // sound that started (no view, `sound` set).
    struct Pending {
        std::weak_ptr<View> view;
        Change change;
        std::string sound;
    };

    std::ostream& out_;
    std::vector<Pending> pending_;
    // "name=" "name.hidden=" ... -> the value last printed after it.
    std::map<std::string, std::string> shown_;
    UiObserver* previousObserver_;
    PlaybackObserver previousPlayback_;
};

}  // namespace platform
