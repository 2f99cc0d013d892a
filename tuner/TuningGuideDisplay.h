#pragma once
// The tuning guide on the tuner screen: the nearest course, the offset in
// cents, the way to turn the peg and a needle over -50 to +50 cents. It sits
// beside the match's note, frequency and lamps and changes none of them. The
// guide is worked out again only when a new buffer has been estimated, so a
// tick with nothing new costs no more than one without the guide. Its words
// are read once, as the screen is made, so a tick makes no lookup.
// Main thread only.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "tuner/PitchInput.h"
#include "tuner/ScreenOutlets.h"
#include "tuner/TuningGuide.h"

namespace tuner {

class TuningGuideDisplay {
public:
    // Shows the guidance for `input`'s readings on `outlets`, which must outlive this.
    TuningGuideDisplay(const ScreenOutlets& outlets, std::shared_ptr<PitchInput> input);

    // Shows the guidance for the latest buffer's refined frequency, unless
    // that buffer is already shown.
    void showLatestBuffer();
    // Shows no guidance, unless none is shown already.
    void clear();

private:
    // The guide's words in the language in use, by direction where they differ.
    struct Texts {
        std::string course;  // "Course", before the course's number
        std::string cents;   // "cents", after the offset
        std::string noString;
        char decimalSeparator = '.';        // in the offset, "-0,4" in Spanish
        std::array<std::string, 3> shown;   // "▲ tune up", by TuningDirection
        std::array<std::string, 3> spoken;  // "tune up", by TuningDirection
    };
    static Texts textsInLanguageInUse();

    // Shows `guidance`, or the guide's blank state.
    void display(const std::optional<Guidance>& guidance);

    const ScreenOutlets& outlets_;
    std::shared_ptr<PitchInput> input_;
    const Texts texts_ = textsInLanguageInUse();
    // The buffer shown, if one is.
    bool showsBuffer_ = false;
    uint64_t shownBuffer_ = 0;
};

}  // namespace tuner
