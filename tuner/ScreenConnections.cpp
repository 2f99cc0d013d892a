// What a layout connects to the tuner screen: its elements by outlet name and
// its controls' actions by selector.

#include "tuner/ViewController.h"

namespace tuner {

std::map<std::string, platform::OutletBinder> ViewController::outlets() {
    return {
        {"currentTuningName", platform::outlet(currentTuningName)},
        {"noteDisplay", platform::outlet(noteDisplay)},
        {"freq_label", platform::outlet(freq_label)},
        {"aboutCongratsMessage", platform::outlet(aboutCongratsMessage)},
        {"aboutMsg2", platform::outlet(aboutMsg2)},
        {"tfnoteDisplay", platform::outlet(tfnoteDisplay)},
        {"tfFreqLabel", platform::outlet(tfFreqLabel)},
        {"micSensitivityLabel", platform::outlet(micSensitivityLabel)},
        {"soundNotificationLabel", platform::outlet(soundNotificationLabel)},
        {"stringSoundsLabel", platform::outlet(stringSoundsLabel)},
        {"frequencyChartLabel", platform::outlet(frequencyChartLabel)},
        {"tuningForkButton", platform::outlet(tuningForkButton)},
        {"LEDDisplay128", platform::outlet(LEDDisplay128)},
        {"LEDDisplay", platform::outlet(LEDDisplay)},
        {"tunedString", platform::outlet(tunedString)},
        {"tunedString5", platform::outlet(tunedString5)},
        {"tunedStringiPad", platform::outlet(tunedStringiPad)},
        {"freqChart", platform::outlet(freqChart)},
        {"micSensitivitySlider", platform::outlet(micSensitivitySlider)},
        {"soundNotificationSwitch", platform::outlet(soundNotificationSwitch)},
        {"stringSoundsSwitch", platform::outlet(stringSoundsSwitch)},
        {"freqChartSwitch", platform::outlet(freqChartSwitch)},
        {"tuningForkHint", platform::outlet(tuningForkHint)},
        {"tuningForkStopButton", platform::outlet(tuningForkStopButton)},
        {"guideCourse", platform::outlet(guideCourse)},
        {"guideCents", platform::outlet(guideCents)},
        {"guideDirection", platform::outlet(guideDirection)},
        {"guideNeedle", platform::outlet(guideNeedle)},
    };
}

std::map<std::string, platform::Control::Action> ViewController::actions() {
    std::map<std::string, platform::Control::Action> table{
        {"micSensitivity:", [this](platform::Control* sender) { micSensitivity(sender); }},
        {"toggleFreqChart:", [this](platform::Control* sender) { toggleFreqChart(sender); }},
    };
    table.merge(tuningFork_.actions());
    table.merge(stringSounds_.actions());
    table.insert_or_assign("toggleStringSounds:", [this](platform::Control* sender) { toggleStringSounds(sender); });
    table.merge(beep_.actions());
    return table;
}

}  // namespace tuner
