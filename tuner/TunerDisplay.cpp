#include "tuner/TunerDisplay.h"

#include <string>

#include "platform/ui/Image.h"
#include "tuner/OutletUpdates.h"
#include "tuner/TunedStringDisplay.h"

namespace tuner {
namespace {

// The lamps' pictures, small and large, named once so that a tick looks
// them up without making strings.
struct LampPictures {
    std::string small;
    std::string large;
};
const LampPictures kGreen{"green64.png", "green128.png"};
const LampPictures kYellow{"yellow64.png", "yellow128.png"};

void light(const ScreenOutlets& outlets, const LampPictures& lamps) {
    setImage(outlets.LEDDisplay, platform::imageNamed(lamps.small));
    setImage(outlets.LEDDisplay128, platform::imageNamed(lamps.large));
}

}  // namespace

void TunerDisplay::showMeasured(const TickDisplay& tick) const {
    setText(outlets_.freq_label, tick.measuredText);
    if (const MatchWindow* match = tick.match) {
        setHidden(outlets_.tunedString, false);
        setHidden(outlets_.tunedString5, false);
        setHidden(outlets_.tunedStringiPad, false);
        setText(outlets_.noteDisplay, match->note);
        displayTunedString(outlets_, match->stringIndex);
        light(outlets_, kGreen);
        spoken_.describeLamp(true);
        spoken_.describeLitString(match->pitchNumber);
        setText(outlets_.freq_label, match->frequencyText);
        return;
    }
    if (tick.showsLastMatch) {
        setText(outlets_.freq_label, tick.lastFrequencyLabel);
        setText(outlets_.noteDisplay, tick.lastNoteName);
    }
}

void TunerDisplay::showNoStrings() const {
    setText(outlets_.freq_label, "");
    setText(outlets_.noteDisplay, "");
    setHidden(outlets_.tunedString, true);
    setHidden(outlets_.tunedString5, true);
    setHidden(outlets_.tunedStringiPad, true);
    light(outlets_, kYellow);
    spoken_.describeLamp(false);
    spoken_.describeLitString(0);
}

}  // namespace tuner
