#pragma once
// The tuner screen's elements, by the outlet names its layouts give them. A
// layout need not hold every element: one it lacks stays empty, and the
// screen's parts write to it as to nothing (OutletUpdates.h). The screen
// itself is made of these elements (ViewController.h); its parts are handed
// them whole and each writes only its own.

#include <map>
#include <memory>
#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/Gauge.h"
#include "platform/ui/Trace.h"
#include "platform/ui/ViewController.h"

namespace tuner {

struct ScreenOutlets {
    // Each element above by its outlet name, for a layout to connect.
    std::map<std::string, platform::OutletBinder> outletBinders();

    std::shared_ptr<platform::Label> currentTuningName;
    std::shared_ptr<platform::Label> noteDisplay;
    std::shared_ptr<platform::Label> freq_label;
    std::shared_ptr<platform::Label> aboutCongratsMessage;
    std::shared_ptr<platform::Label> aboutMsg2;
    std::shared_ptr<platform::Label> tfnoteDisplay;
    std::shared_ptr<platform::Label> tfFreqLabel;
    std::shared_ptr<platform::Label> micSensitivityLabel;
    std::shared_ptr<platform::Label> soundNotificationLabel;
    std::shared_ptr<platform::Label> stringSoundsLabel;
    std::shared_ptr<platform::Label> frequencyChartLabel;
    std::shared_ptr<platform::Button> tuningForkButton;
    std::shared_ptr<platform::ImageView> LEDDisplay128;
    std::shared_ptr<platform::ImageView> LEDDisplay;
    // The string pictures: the 480-point phone's, the taller phones', the tablets'.
    std::shared_ptr<platform::ImageView> tunedString;
    std::shared_ptr<platform::ImageView> tunedString5;
    std::shared_ptr<platform::ImageView> tunedStringiPad;
    std::shared_ptr<platform::ImageView> freqChart;
    std::shared_ptr<platform::Slider> micSensitivitySlider;
    std::shared_ptr<platform::Switch> soundNotificationSwitch;
    std::shared_ptr<platform::Switch> stringSoundsSwitch;
    std::shared_ptr<platform::Switch> freqChartSwitch;
    // Additions of this program's tuning-fork panel: a hint shown while no tone
    // plays, and the Stop button shown only while one does.
    std::shared_ptr<platform::Label> tuningForkHint;
    std::shared_ptr<platform::Button> tuningForkStopButton;
    // The tuning guide.
    std::shared_ptr<platform::Label> guideCourse;
    std::shared_ptr<platform::Label> guideCents;
    std::shared_ptr<platform::Label> guideDirection;
    std::shared_ptr<platform::Gauge> guideNeedle;
    // Both strings of the course: how far apart, or the octave string's offset;
    // and, for a pair apart, that beats cannot tell which string is higher.
    std::shared_ptr<platform::Label> guidePair;
    std::shared_ptr<platform::Label> guidePairHint;
    // The guide's cents over the last seconds.
    std::shared_ptr<platform::Trace> guideTrace;
};

}  // namespace tuner
