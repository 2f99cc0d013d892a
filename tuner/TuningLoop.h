#pragma once
// The tuning loop: each tick reads the level and the frequency of the latest
// captured sound, gates the level between the two sensitivity limits and
// matches the frequency against the five open pitches. It touches no
// element: it returns what the tick shows, and the screen puts that on its
// elements (TunerDisplay.h). It remembers the last match, whose texts come
// back on loud ticks above 700 Hz. Main thread only.

#include <memory>
#include <string>
#include <string_view>

#include "sound/PitchConfirmations.h"
#include "tuner/MatchTable.h"
#include "tuner/PitchInput.h"
#include "tuner/SensitivityTable.h"

namespace tuner {

// What one tick shows.
struct TickDisplay {
    enum class Gate {
        Cleared,   // below the bottom limit: no texts, no string picture, yellow lamps
        Held,      // from the bottom limit up to the top one: the screen keeps what it shows
        Measured,  // above the top limit
    };
    Gate gate = Gate::Held;
    // Measured: the frequency as measured, "%.1fHz", shown before the rest.
    std::string measuredText;
    // Measured in a window: the string, its note and reference frequency
    // instead of the measured one, and green lamps; its pitch is confirmed.
    const MatchWindow* match = nullptr;
    // Measured in no window above 700 Hz: the last match's texts replace the
    // measured value (empty texts before the first match).
    bool showsLastMatch = false;
    std::string_view lastFrequencyLabel;
    std::string_view lastNoteName;
    // Measured in no window once every pitch has been tuned: the rating
    // prompt and a re-arm of the beep are due.
    bool asksForReview = false;
};

class TuningLoop {
public:
    // Readings come from `input`; `confirmations` say which pitches have been tuned.
    TuningLoop(std::shared_ptr<PitchInput> input, std::shared_ptr<const sound::PitchConfirmations> confirmations);

    // Reads the level and the frequency, both on every tick whatever the
    // level, so the detector estimates on every tick; then works out what
    // the tick shows with `limits` in force.
    TickDisplay tick(const LevelLimits& limits);

private:
    std::shared_ptr<PitchInput> input_;
    std::shared_ptr<const sound::PitchConfirmations> confirmations_;
    // The texts of the last match; never cleared.
    std::string_view lastFrequencyLabel_;
    std::string_view lastNoteName_;
};

}  // namespace tuner
