#pragma once
// The guide's listening, one hop at a time: it keeps the stream's latest
// samples, follows where the latest pluck began, and after each hop reads the
// window that ends there — the last kLongestWindow samples, or, while a pluck
// is younger than that, the pluck alone, so that the first readings of a
// string are not muddied by what sounded before it. A pluck younger than
// kShortestWindow is not read yet. Beside the window, both strings of the
// course a pluck sounds are read over the whole pluck (see CoursePairs.h).
//
// One thread at a time; nothing is allocated after construction.

#include <array>
#include <cstdint>
#include <span>

#include "guide/CoursePairs.h"
#include "guide/CoursePitch.h"
#include "guide/FundamentalChoice.h"
#include "guide/GuideReading.h"
#include "guide/OnsetTracker.h"
#include "guide/SpectralPeaks.h"
#include "guide/SpectrumWindow.h"

namespace guide {

class GuideAnalyzer {
public:
    // `courses` (kept by the caller for the analyzer's life) are the courses
    // whose strings are read in pairs; without them only the window is read.
    explicit GuideAnalyzer(double sampleRate, std::span<const CoursePitch> courses = {});
    GuideAnalyzer(const GuideAnalyzer&) = delete;
    GuideAnalyzer& operator=(const GuideAnalyzer&) = delete;

    // Takes the stream's next hop (kHopSamples; fewer only at its end) and
    // reads the window that ends with it.
    GuideReading take(std::span<const int16_t> hop);
    // Samples of the stream taken so far, gaps included.
    uint64_t heard() const { return heard_; }
    // Forgets the stream heard so far, which goes on at `heard` samples after
    // a gap (samples lost on the way).
    void restart(uint64_t heard);
    // Reads every pluck as course `number`, however far from its pitch, or,
    // with none, as the nearest course; the window's fundamental is then
    // sought within an octave of the chosen course's pitch.
    void choose(std::optional<int> number);

private:
    double fundamentalOfWindow(std::span<const int16_t> window);
    // Where the window's fundamental is sought: an octave either way of a chosen course's pitch.
    FundamentalRange fundamentalRange() const;

    std::array<int16_t, kLongestWindow> history_{};  // the latest samples, oldest first, at the end
    size_t historyLength_ = 0;
    uint64_t heard_ = 0;
    OnsetTracker onsets_;
    SpectrumWindow spectrum_;
    SpectralPeaks peaks_;
    std::span<const CoursePitch> courses_;
    CoursePairs pairs_;
};

}  // namespace guide
