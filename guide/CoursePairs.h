#pragma once
// Both strings of the course a pluck sounds. From the guide's first reading
// of a pluck on, the bands around the course's first partials are kept (see
// PartialBands.h) and after every hop the two strings are fitted in them
// (see PairFit.h):
//
// - the spread: how many cents the two strings lie apart, once the fit is
//   sure of it to a fraction of a cent; which of them is the higher no beat
//   can tell;
// - the centre: the pair's frequency weighted by the two strings' strengths,
//   which lies between them and does not swing with the beat as the window's
//   peak does;
// - on a course whose second string sounds an octave higher, that string
//   against the lower string's second partial: its own offset from its pitch.
//
// A pluck is read as the course whose pitch lies nearest the guide's reading
// (within kNearestCourseCents), or as the course the user chose, however far.
//
// One thread at a time; nothing is allocated after construction.

#include <cstdint>
#include <optional>
#include <span>

#include "guide/CoursePitch.h"
#include "guide/GuideReading.h"
#include "guide/PairFit.h"
#include "guide/PartialBands.h"

namespace guide {

class CoursePairs {
public:
    // A pluck further than this from every course's pitch is no course's
    // unless the user chose one: the guide's own reach.
    static constexpr double kNearestCourseCents = 100.0;
    // A chosen course is read this far either way.
    static constexpr double kChosenCourseCents = 1200.0;
    // A spread is told once its likely range is this narrow.
    static constexpr double kSureRangeCents = 0.3;
    // A reading this far from the bands' fundamental is another note.
    static constexpr double kOtherNoteCents = 30.0;
    // A pair whose weaker string is fainter than this, of the stronger's
    // amplitude, is one string and the noise.
    static constexpr double kFaintestString = 0.1;
    // Strings that sound as one are in unison once they have rung a second
    // (of band samples): a pair half a cent apart shows well before.
    static constexpr size_t kUnisonSamples = 110;

    CoursePairs(double sampleRate, std::span<const CoursePitch> courses);
    CoursePairs(const CoursePairs&) = delete;
    CoursePairs& operator=(const CoursePairs&) = delete;

    // Reads every pluck as course `number` (one of the courses), or, with
    // none, as the nearest course.
    void choose(std::optional<int> number);
    std::optional<int> chosen() const { return chosen_; }
    // Forgets the pluck being read: the stream goes on after a gap.
    void restart();

    // Takes the stream's next `hop`; `pluck` is the position of the pluck's
    // start, `sincePluck` the samples heard of it so far (the hop's
    // included; the latest of them when it rings longer than they reach), and
    // `frequency` the guide's reading of the hop (0 for none).
    PairReading take(std::span<const int16_t> hop, uint64_t pluck, std::span<const int16_t> sincePluck,
                     double frequency);

private:
    void start(const CoursePitch& course, double frequency, std::span<const int16_t> sincePluck);
    std::optional<CoursePitch> courseOf(double frequency) const;
    void readPair(PairReading& reading);
    void readOctave(PairReading& reading);
    // The spread `fit` is sure of, after `bandSamples` of the bands; none yet.
    std::optional<double> measuredSpread(const PairFit& fit, size_t bandSamples) const;

    std::span<const CoursePitch> courses_;
    std::optional<int> chosen_;
    std::optional<uint64_t> pluck_;  // the pluck being read
    std::optional<CoursePitch> course_;
    double fundamental_ = 0.0;  // the bands' fundamental
    bool continuing_ = false;   // the fitters have fitted this pluck before
    PartialBands bands_;
    PairFitter pairFitter_;
    std::optional<double> spread_;
    std::optional<double> octave_;
};

}  // namespace guide
