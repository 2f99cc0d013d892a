// What screen readers say for the tuner screen: a name for each element whose
// picture or position alone tells its meaning, and the state of the lamp, the
// lit string and the sensitivity level as the screen changes them. The texts
// come from the string table, with English where it has none.

#include <string>

#include "platform/core/Bundle.h"
#include "platform/ui/Controls.h"
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
    const std::string joiner = " " + spoken("ListAnd", "and") + " ";
    for (size_t i = 0; i < sound::kCourses.size(); ++i) {
        const sound::Course& course = sound::kCourses[i];
        spoken_.courses[i] = std::string(course.note) + ", " + strings + " " + std::to_string(course.strings[0]) +
                             joiner + std::to_string(course.strings[1]);
    }
    nameStringSoundButtons(spoken("SpokenString", "string"));
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

void ViewController::nameStringSoundButtons(const std::string& string) {
    // Their titles ("E5", "1·2" on two lines) read badly; each is named for
    // the strings whose sound it plays, "E5, strings 1 and 2" or "E4, string 5".
    const auto single = [&string](std::string_view note, int number) {
        return std::string(note) + ", " + string + " " + std::to_string(number);
    };
    const std::pair<const char*, std::string> buttons[] = {
        {"play1stStringSound:", spoken_.courses[0]},
        {"play2ndStringSound:", spoken_.courses[1]},
        {"play3rdStringSound:", single(sound::kCourses[2].note, sound::kCourses[2].strings[0])},
        {"play4thStringSound:", single(sound::kCourses[0].note, sound::kCourses[2].strings[1])},
        {"play5thStringSound:", spoken_.courses[3]},
        {"play6thStringSound:", spoken_.courses[4]},
    };
    for (const auto& [selector, label] : buttons) {
        for (const auto& button : platform::controlsSending(view(), selector)) button->setAccessibilityLabel(label);
    }
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
