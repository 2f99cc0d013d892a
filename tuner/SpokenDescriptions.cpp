// What screen readers say for the tuner screen: a name for each element whose
// picture or position alone tells its meaning, and the state of the lamp, the
// lit string and the sensitivity level as the screen changes them. The texts
// come from the string table, with English where it has none.

#include <string>

#include "platform/core/Bundle.h"
#include "sound/Courses.h"
#include "tuner/SensitivityTable.h"
#include "tuner/ViewController.h"

namespace tuner {
namespace {

std::string spoken(const char* key, const char* english) {
    return platform::Bundle::mainBundle().localizedString(key, english, "");
}

void name(const std::shared_ptr<platform::View>& view, const std::string& label) {
    if (view) view->setAccessibilityLabel(label);
}

void describe(const std::shared_ptr<platform::View>& view, const std::string& value) {
    if (view) view->setAccessibilityValue(value);
}

// The switches and the slider are named by the label beside them.
void nameAfter(const std::shared_ptr<platform::View>& view, const std::shared_ptr<platform::Label>& label) {
    if (view && label) view->setAccessibilityLabel(label->text());
}

}  // namespace

void ViewController::nameElementsForScreenReaders() {
    spoken_.inTune = spoken("SpokenInTune", "in tune");
    spoken_.notInTune = spoken("SpokenNotInTune", "not in tune");
    const std::string strings = spoken("SpokenStrings", "strings");
    for (size_t i = 0; i < sound::kCourses.size(); ++i) {
        const sound::Course& course = sound::kCourses[i];
        spoken_.courses[i] = std::string(course.note) + ", " + strings + " " + std::string(course.strings);
    }
    const std::string lamp = spoken("SpokenLamp", "Lamp");
    name(LEDDisplay, lamp);
    name(LEDDisplay128, lamp);
    const std::string litString = spoken("SpokenStringLit", "String lit");
    name(tunedString, litString);
    name(tunedString5, litString);
    name(tunedStringiPad, litString);
    name(freqChart, spoken("SpokenFrequencyChart", "Frequency chart of the five courses"));
    describeLamp(false);
}

void ViewController::describeLamp(bool inTune) {
    const std::string& state = inTune ? spoken_.inTune : spoken_.notInTune;
    describe(LEDDisplay, state);
    describe(LEDDisplay128, state);
}

void ViewController::describeLitString(int pitchNumber) {
    static const std::string kNone;
    const std::string& state =
        pitchNumber >= 1 && pitchNumber <= static_cast<int>(spoken_.courses.size())
            ? spoken_.courses[static_cast<size_t>(pitchNumber - 1)]
            : kNone;
    describe(tunedString, state);
    describe(tunedString5, state);
    describe(tunedStringiPad, state);
}

void ViewController::describeSettings() {
    // Named after the labels beside them, which the screen localises as it appears.
    nameAfter(micSensitivitySlider, micSensitivityLabel);
    nameAfter(soundNotificationSwitch, soundNotificationLabel);
    nameAfter(stringSoundsSwitch, stringSoundsLabel);
    nameAfter(freqChartSwitch, frequencyChartLabel);
    // The level the slider shows.
    if (micSensitivitySlider) describe(micSensitivitySlider, std::to_string(sensitivityLevelOf(micSensitivitySlider->value())));
}

}  // namespace tuner
