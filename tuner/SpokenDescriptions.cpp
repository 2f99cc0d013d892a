#include "tuner/SpokenDescriptions.h"

#include <string_view>

#include "platform/core/Bundle.h"
#include "platform/ui/Controls.h"
#include "sound/Courses.h"
#include "tuner/SensitivityTable.h"

namespace tuner {
namespace {

std::string spoken(const char* key, const char* english) {
    return platform::Bundle::mainBundle()->localizedString(key, english, "");
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

void SpokenDescriptions::nameElements(const std::shared_ptr<platform::View>& screen) {
    inTune_ = spoken("SpokenInTune", "in tune");
    notInTune_ = spoken("SpokenNotInTune", "not in tune");
    const std::string strings = spoken("SpokenStrings", "strings");
    const std::string joiner = " " + spoken("ListAnd", "and") + " ";
    for (size_t i = 0; i < sound::kCourses.size(); ++i) {
        const sound::Course& course = sound::kCourses[i];
        courses_[i] = std::string(course.note) + ", " + strings + " " + std::to_string(course.strings[0]) + joiner +
                      std::to_string(course.strings[1]);
    }
    nameStringSoundButtons(screen, spoken("SpokenString", "string"));
    const std::string lamp = spoken("SpokenLamp", "Lamp");
    name(outlets_.LEDDisplay, lamp);
    name(outlets_.LEDDisplay128, lamp);
    const std::string litString = spoken("SpokenStringLit", "String lit");
    name(outlets_.tunedString, litString);
    name(outlets_.tunedString5, litString);
    name(outlets_.tunedStringiPad, litString);
    name(outlets_.freqChart, spoken("SpokenFrequencyChart", "Frequency chart of the five courses"));
    describeLamp(false);
}

void SpokenDescriptions::nameStringSoundButtons(const std::shared_ptr<platform::View>& screen,
                                                const std::string& string) const {
    // Their titles ("E5", "1·2" on two lines) read badly; each is named for
    // the strings whose sound it plays, "E5, strings 1 and 2" or "E4, string 5".
    const auto single = [&string](std::string_view note, int number) {
        return std::string(note) + ", " + string + " " + std::to_string(number);
    };
    const std::pair<const char*, std::string> buttons[] = {
        {"play1stStringSound:", courses_[0]},
        {"play2ndStringSound:", courses_[1]},
        {"play3rdStringSound:", single(sound::kCourses[2].note, sound::kCourses[2].strings[0])},
        {"play4thStringSound:", single(sound::kCourses[0].note, sound::kCourses[2].strings[1])},
        {"play5thStringSound:", courses_[3]},
        {"play6thStringSound:", courses_[4]},
    };
    for (const auto& [selector, label] : buttons) {
        for (const auto& button : platform::controlsSending(screen, selector)) button->setAccessibilityLabel(label);
    }
}

void SpokenDescriptions::describeLamp(bool inTune) const {
    const std::string& state = inTune ? inTune_ : notInTune_;
    describe(outlets_.LEDDisplay, state);
    describe(outlets_.LEDDisplay128, state);
}

void SpokenDescriptions::describeLitString(int pitchNumber) const {
    static const std::string kNone;
    const std::string& state = pitchNumber >= 1 && pitchNumber <= static_cast<int>(courses_.size())
                                   ? courses_[static_cast<size_t>(pitchNumber - 1)]
                                   : kNone;
    describe(outlets_.tunedString, state);
    describe(outlets_.tunedString5, state);
    describe(outlets_.tunedStringiPad, state);
}

void SpokenDescriptions::describeSettings() const {
    nameAfter(outlets_.micSensitivitySlider, outlets_.micSensitivityLabel);
    nameAfter(outlets_.soundNotificationSwitch, outlets_.soundNotificationLabel);
    nameAfter(outlets_.stringSoundsSwitch, outlets_.stringSoundsLabel);
    nameAfter(outlets_.freqChartSwitch, outlets_.frequencyChartLabel);
    if (outlets_.micSensitivitySlider) describeSensitivity(outlets_.micSensitivitySlider->value());
}

void SpokenDescriptions::describeSensitivity(float position) const {
    describe(outlets_.micSensitivitySlider, std::to_string(sensitivityLevelOf(position)));
}

}  // namespace tuner
