#pragma once
// The tuning guide on the tuner screen, from the guide's own stream of the
// captured sound: the nearest course, the offset in cents, the way to turn
// the peg and a needle over -50 to +50 cents. Beyond 100 cents of every
// course it names the nearest note of the chromatic scale with its offset
// ("F4 +29.0") and the way and distance to the nearest course ("G4: tune up
// 171 cents"), with the needle pinned at its end. It sits beside the match's
// note, frequency and lamps, reads nothing of theirs and changes none of
// them. The sensitivity's limits gate it as they gate the match, on the
// stream's own level. Between two readings the needle glides (NeedleEase.h);
// every reading adds a point to the trace of the last seconds. While both
// strings of a course ring, the needle shows their centre, which does not
// swing with their beat, and the pair's own line says how far apart they lie
// (PairDisplay.h).
// Its words are read once, as the screen is made, so a tick makes no lookup.
// Main thread only.

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "guide/GuideReading.h"
#include "tuner/GuideInput.h"
#include "tuner/NeedleEase.h"
#include "tuner/PairDisplay.h"
#include "tuner/ScreenOutlets.h"
#include "tuner/SensitivityTable.h"
#include "tuner/TuningGuide.h"

namespace tuner {

class TuningGuideDisplay {
public:
    // Shows the guidance for `input`'s readings on `outlets`, which must outlive this.
    TuningGuideDisplay(const ScreenOutlets& outlets, std::shared_ptr<GuideInput> input);

    // Starts the guide's stream.
    void listen() { input_->listen(); }
    // Reads every string as course `course` (1 to 5) from now on, its offset
    // from that course's pitch however far up to an octave either way ("tune
    // up 1 semitone + 10 cents"), never a neighbour's; or, with none, as the
    // nearest course.
    void choose(std::optional<int> course);
    // Every tick: takes the stream's new readings and shows the latest, with
    // `limits` in force (below the bottom one no guidance; up to the top one
    // the guidance shown stays; a reading that heard no fundamental changes
    // nothing), then moves the needle on.
    void tick(const LevelLimits& limits);

private:
    // The guide's words in the language in use, by direction where they differ.
    struct Texts {
        std::string course;  // "Course", before the course's number
        std::string cents;   // "cents", after the offset
        std::string noString;
        std::string semitone;   // "1 semitone"
        std::string semitones;  // "2 semitones"
        char decimalSeparator = '.';        // in the offset, "-0,4" in Spanish
        std::array<std::string, 3> shown;   // "▲ tune up", by TuningDirection
        std::array<std::string, 3> spoken;  // "tune up", by TuningDirection
    };
    static Texts textsInLanguageInUse();

    // Adds `reading`'s offset from its nearest course to the trace, or a gap
    // where it heard no fundamental loud enough.
    void trace(const guide::GuideReading& reading, const LevelLimits& limits);
    // Shows the guidance for `reading`.
    void show(const guide::GuideReading& reading);
    // The guidance for `frequency`: to the chosen course, or the nearest.
    std::optional<Guidance> guidanceFor(double frequency) const;
    // Shows `guidance`: its course, its offset and the way, in semitones too
    // beyond a semitone.
    void showCourse(const Guidance& guidance);
    // Shows the chromatic note and the way to `guidance`'s course, far from it.
    void showFarFromCourses(const ChromaticNote& note, const Guidance& guidance);
    // Shows no guidance, unless none is shown already.
    void clear();
    // Aims the needle at `guidance`'s offset, read out as `spoken`.
    void aimNeedle(const Guidance& guidance, std::string_view spoken);

    const ScreenOutlets& outlets_;
    std::shared_ptr<GuideInput> input_;
    const sound::Course* chosen_ = nullptr;  // the course the user locked the guide on
    const Texts texts_ = textsInLanguageInUse();
    // The stream's readings taken at a tick: more than a tick's worth.
    std::array<guide::GuideReading, 16> taken_{};
    bool shows_ = false;
    PairDisplay pair_{outlets_};
    NeedleEase needle_;
    std::string spokenNeedle_;  // what the needle's value is read out as
};

}  // namespace tuner
