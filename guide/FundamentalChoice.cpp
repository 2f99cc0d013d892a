#include "guide/FundamentalChoice.h"

#include <algorithm>
#include <cmath>

namespace guide {
namespace {

// Candidates: each of the five strongest peaks divided by 1 to 6.
constexpr size_t kCandidatePeaks = 5;
constexpr int kLargestDivisor = 6;
// Harmonics considered per candidate.
constexpr int kMostHarmonics = 16;
// How near a harmonic a peak must lie to be explained by it: wide enough for
// a stiff string's stretched partials and a short window's coarse peaks,
// far narrower than the 702 cents of a fifth.
constexpr double kMatchCents = 35.0;
// What a predicted harmonic without a peak costs, in the unit of the
// strongest peak's magnitude: less than a pair of strong odd partials left
// unexplained, more than noise.
constexpr double kMissingHarmonicCost = 0.25;
// The fundamental's own peak is refined when it is at least this strong
// against the strongest; a weaker one lends its precision to a stronger
// partial, an odd one where there is any: on the octave course the even
// partials of the lower string share their peaks with the octave string.
constexpr double kRefinedFundamentalStrength = 0.3;

double centsBetween(double a, double b) { return 1200.0 * std::log2(a / b); }

// The harmonic of `fundamental` that `hertz` lies on, or 0 for none.
int harmonicOf(double hertz, double fundamental) {
    const double number = std::round(hertz / fundamental);
    if (number < 1.0 || number > kMostHarmonics) return 0;
    return std::abs(centsBetween(hertz, number * fundamental)) <= kMatchCents ? static_cast<int>(number) : 0;
}

struct Weighing {
    double cost;
    Fundamental fundamental;
};

Weighing weigh(double candidate, std::span<const SpectralPeak> peaks) {
    const double strongest = peaks.front().magnitude;
    double unexplained = 0.0;
    int highest = 0;
    unsigned present = 0;  // bit h - 1 for each harmonic h with a peak
    std::optional<SpectralPeak> own;
    SpectralPeak loudest = peaks.front();
    int loudestHarmonic = 0;
    std::optional<SpectralPeak> loudestOdd;
    int loudestOddHarmonic = 0;
    for (const SpectralPeak& peak : peaks) {
        const int harmonic = harmonicOf(peak.hertz, candidate);
        if (harmonic == 0) {
            unexplained += peak.magnitude / strongest;
            continue;
        }
        present |= 1u << (harmonic - 1);
        highest = std::max(highest, harmonic);
        if (harmonic == 1 && !own) own = peak;
        if (loudestHarmonic == 0) {  // peaks come strongest first
            loudest = peak;
            loudestHarmonic = harmonic;
        }
        if (!loudestOdd && harmonic % 2 == 1) {
            loudestOdd = peak;
            loudestOddHarmonic = harmonic;
        }
    }
    int missing = 0;
    for (int harmonic = 1; harmonic <= highest; ++harmonic) {
        if ((present & (1u << (harmonic - 1))) == 0) ++missing;
    }
    const double cost = unexplained + kMissingHarmonicCost * missing;
    if (own && own->magnitude >= kRefinedFundamentalStrength * strongest) return {cost, {candidate, *own, 1}};
    if (loudestOdd) return {cost, {candidate, *loudestOdd, loudestOddHarmonic}};
    return {cost, {candidate, loudest, loudestHarmonic}};
}

}  // namespace

std::optional<Fundamental> chooseFundamental(std::span<const SpectralPeak> peaks, FundamentalRange range) {
    std::optional<Weighing> best;
    for (const SpectralPeak& peak : peaks.first(std::min(peaks.size(), kCandidatePeaks))) {
        for (int divisor = 1; divisor <= kLargestDivisor; ++divisor) {
            const double candidate = peak.hertz / divisor;
            if (candidate < range.lowest || candidate > range.highest) continue;
            const Weighing weighing = weigh(candidate, peaks);
            if (!best || weighing.cost < best->cost) best = weighing;
        }
    }
    if (!best) return std::nullopt;
    return best->fundamental;
}

}  // namespace guide
