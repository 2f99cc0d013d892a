#pragma once
// What screen readers say for the tuner screen: a name for each element whose
// picture or position alone tells its meaning, and the state of the lamp, the
// lit string and the sensitivity level as the screen changes them. The texts
// come from the string table, with English where it has none, read once so
// that a tick makes no text. Main thread only.

#include <array>
#include <memory>
#include <string>

#include "tuner/ScreenOutlets.h"

namespace tuner {

class SpokenDescriptions {
public:
    // Describes `outlets`, which must outlive this.
    explicit SpokenDescriptions(const ScreenOutlets& outlets) : outlets_(outlets) {}

    // Reads the texts in the language in use and names the elements, the
    // string-sound buttons under `screen` among them; the lamp starts out not
    // in tune.
    void nameElements(const std::shared_ptr<platform::View>& screen);
    // The lamps' state: in tune or not.
    void describeLamp(bool inTune) const;
    // The lit string's course, by pitch number 1 to 5; any other: none lit.
    void describeLitString(int pitchNumber) const;
    // The switches and the slider after the labels beside them, which the
    // screen localises as it appears, and the level the slider shows.
    void describeSettings() const;
    // The level of the sensitivity slider at `position`.
    void describeSensitivity(float position) const;

private:
    // Names each string-sound button for the strings it plays; `string` is
    // the word for one string.
    void nameStringSoundButtons(const std::shared_ptr<platform::View>& screen, const std::string& string) const;

    const ScreenOutlets& outlets_;
    std::string inTune_;
    std::string notInTune_;
    std::array<std::string, 5> courses_;  // "A4, strings 3 and 4", by course
};

}  // namespace tuner
