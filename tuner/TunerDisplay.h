#pragma once
// What a tick of the tuning loop shows, put on the tuner screen's elements:
// the frequency and note texts, the three string pictures, the two level
// lamps and what screen readers hear of the lamp and the lit string. Each
// element is written in the order the tick sets it; the tuning guide and the
// confirmation beep are the screen's other parts. Main thread only.

#include <cstdint>

#include "tuner/ScreenOutlets.h"
#include "tuner/SpokenDescriptions.h"
#include "tuner/TuningLoop.h"

namespace tuner {

class TunerDisplay {
public:
    // Writes to `outlets` and describes through `spoken`, which must outlive this.
    TunerDisplay(const ScreenOutlets& outlets, const SpokenDescriptions& spoken)
        : outlets_(outlets), spoken_(spoken) {}

    // A measured tick: the measured frequency, then the match (the string
    // pictures shown, its note, its picture, green lamps, its reference
    // frequency) or, above 700 Hz, the last match's texts. The pictures and
    // the lamps of an unmatched tick stay as they are.
    void showMeasured(const TickDisplay& tick) const;
    // Clears the texts, hides the string pictures and turns the lamps yellow.
    void showNoStrings() const;

private:
    const ScreenOutlets& outlets_;
    const SpokenDescriptions& spoken_;
};

}  // namespace tuner
