#include "tuner/ScreenOutlets.h"

namespace tuner {

std::map<std::string, platform::OutletBinder> ScreenOutlets::outletBinders() {
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
        {"guidePair", platform::outlet(guidePair)},
        {"guidePairHint", platform::outlet(guidePairHint)},
        {"guideTrace", platform::outlet(guideTrace)},
    };
}

}  // namespace tuner
