#include "guide/CoursePairs.h"

#include <algorithm>
#include <cmath>

namespace guide {
namespace {

// The partials whose bands are read: three where both strings sound the
// same note; the first two where the second string is an octave higher,
// whose fundamental shares the second band with the lower string's second
// partial.
constexpr int kUnisonHarmonics[] = {1, 2, 3};
constexpr int kOctaveHarmonics[] = {1, 2};
constexpr size_t kAllBands[] = {0, 1, 2};
constexpr size_t kSecondBand[] = {1};

}  // namespace

CoursePairs::CoursePairs(double sampleRate, std::span<const CoursePitch> courses)
    : courses_(courses), bands_(sampleRate) {}

void CoursePairs::choose(std::optional<int> number) {
    if (number == chosen_) return;
    chosen_ = number;
    restart();  // the pluck is read anew as the chosen course
}

void CoursePairs::restart() {
    pluck_.reset();
    course_.reset();
}

std::optional<CoursePitch> CoursePairs::courseOf(double frequency) const {
    if (!chosen_) return nearestCourse(courses_, frequency, kNearestCourseCents);
    for (const CoursePitch& course : courses_) {
        if (course.number == *chosen_ && std::abs(centsBetween(frequency, course.hertz)) <= kChosenCourseCents) {
            return course;
        }
    }
    return std::nullopt;
}

PairReading CoursePairs::take(std::span<const int16_t> hop, uint64_t pluck, std::span<const int16_t> sincePluck,
                              double frequency) {
    const bool otherNote =
        course_ && frequency > 0.0 && std::abs(centsBetween(frequency, fundamental_)) > kOtherNoteCents;
    if (pluck_ != pluck || otherNote) {
        pluck_ = pluck;
        course_.reset();
    }
    if (course_) {
        bands_.take(hop);
    } else if (frequency > 0.0) {
        if (const auto course = courseOf(frequency)) start(*course, frequency, sincePluck);
    }
    PairReading reading;
    if (!course_) return reading;
    reading.course = course_->number;
    if (course_->octaveString) {
        readOctave(reading);
    } else {
        readPair(reading);
    }
    continuing_ = true;
    return reading;
}

void CoursePairs::start(const CoursePitch& course, double frequency, std::span<const int16_t> sincePluck) {
    course_ = course;
    fundamental_ = frequency;
    continuing_ = false;
    spread_.reset();
    octave_.reset();
    if (course.octaveString) {
        bands_.start(frequency, kOctaveHarmonics, sincePluck);
    } else {
        bands_.start(frequency, kUnisonHarmonics, sincePluck);
    }
}

std::optional<double> CoursePairs::measuredSpread(const PairFit& fit, size_t bandSamples) const {
    const BandPair& pair = fit.pairs[0];
    const bool oneTone = std::min(pair.lower.amplitude, pair.upper.amplitude) <
                         kFaintestString * std::max(pair.lower.amplitude, pair.upper.amplitude);
    // Strings apart are told as soon as the fit is sure of their spread, and
    // sure by a margin that it is no unison.
    const double sureRange = fit.mostSpread() - fit.leastSpread();
    if (!oneTone && fit.leastSpread() > kUnisonCents + sureRange && sureRange <= kSureRangeCents) {
        return fit.spread();
    }
    // Strings that sound as one are in unison once they have rung long
    // enough for a pair further apart to have shown. A pair told apart
    // before stays so: its faded beat is what leaves the fit with one tone.
    const bool toldApart = spread_ && !inUnison(*spread_);
    if (bandSamples >= kUnisonSamples && !toldApart && (oneTone || inUnison(fit.spread()))) {
        return oneTone ? 0.0 : fit.spread();
    }
    return std::nullopt;
}

void CoursePairs::readPair(PairReading& reading) {
    reading.centre = bands_.meanHertz(0);
    const auto fit = pairFitter_.fit(bands_, kAllBands, continuing_);
    if (!fit) return;
    if (const auto spread = measuredSpread(*fit, bands_.band(0).size())) spread_ = spread;
    reading.spread = spread_;
}

void CoursePairs::readOctave(PairReading& reading) {
    reading.centre = bands_.meanHertz(0);
    const auto octave = pairFitter_.fit(bands_, kSecondBand, continuing_);
    if (!octave) return;
    if (const auto spread = measuredSpread(*octave, bands_.band(0).size())) {
        // The tone further from the lower string's second partial is the
        // octave string; in unison they sound as one.
        const BandPair& pair = octave->pairs[0];
        const double partial = 2.0 * reading.centre;
        double hertz = pair.weightedHertz();
        if (!inUnison(*spread)) {
            hertz = std::abs(pair.lower.hertz - partial) > std::abs(pair.upper.hertz - partial) ? pair.lower.hertz
                                                                                                : pair.upper.hertz;
        }
        spread_ = spread;
        octave_ = centsBetween(hertz, 2.0 * course_->hertz);
    }
    reading.spread = spread_;
    reading.octave = octave_;
}

}  // namespace guide
