#include "guide/GuideAnalyzer.h"

#include <algorithm>
#include <cmath>

#include "guide/FundamentalChoice.h"

namespace guide {
namespace {

constexpr double kFullScale = 32768.0;

float levelOf(std::span<const int16_t> samples) {
    if (samples.empty()) return 0.0f;
    double sum = 0.0;
    for (const int16_t sample : samples) sum += static_cast<double>(sample) * sample;
    return static_cast<float>(std::sqrt(sum / static_cast<double>(samples.size())) / kFullScale);
}

}  // namespace

GuideAnalyzer::GuideAnalyzer(double sampleRate, std::span<const CoursePitch> courses)
    : spectrum_(sampleRate), courses_(courses), pairs_(sampleRate, courses) {}

GuideReading GuideAnalyzer::take(std::span<const int16_t> hop) {
    hop = hop.first(std::min(hop.size(), kHopSamples));
    // Slide the history along by the hop.
    const size_t kept = std::min(historyLength_, kLongestWindow - hop.size());
    std::copy(history_.end() - static_cast<std::ptrdiff_t>(kept), history_.end(),
              history_.end() - static_cast<std::ptrdiff_t>(kept + hop.size()));
    std::copy(hop.begin(), hop.end(), history_.end() - static_cast<std::ptrdiff_t>(hop.size()));
    historyLength_ = kept + hop.size();
    onsets_.take(hop, heard_);
    heard_ += hop.size();

    GuideReading reading{heard_, levelOf(hop), 0.0};
    uint64_t start = heard_ - historyLength_;
    if (const auto onset = onsets_.latestOnset()) start = std::max(start, *onset);
    const size_t length = static_cast<size_t>(heard_ - start);
    // The stream's own start counts as a pluck's: its first samples are read
    // alone too, but not before there are enough of them.
    const auto sincePluck = std::span(history_).last(length);
    if (length >= kShortestWindow) reading.frequency = fundamentalOfWindow(sincePluck);
    // A pluck is known by its onset; the stream's start is the first.
    const uint64_t pluck = onsets_.latestOnset().value_or(0);
    if (!courses_.empty()) reading.pair = pairs_.take(hop, pluck, sincePluck, reading.frequency);
    return reading;
}

double GuideAnalyzer::fundamentalOfWindow(std::span<const int16_t> window) {
    // Silence, hop after hop while nobody plays: it holds no fundamental.
    if (SpectralPeaks::tooQuietForPeaks(window)) return 0.0;
    spectrum_.take(window);
    const auto fundamental = chooseFundamental(peaks_.find(spectrum_), fundamentalRange());
    if (!fundamental) return 0.0;
    return spectrum_.summitNear(fundamental->partial.hertz) / fundamental->harmonic;
}

void GuideAnalyzer::choose(std::optional<int> number) { pairs_.choose(number); }

FundamentalRange GuideAnalyzer::fundamentalRange() const {
    if (const auto chosen = pairs_.chosen()) {
        for (const CoursePitch& course : courses_) {
            if (course.number == *chosen) return {course.hertz / 2.0, course.hertz * 2.0};
        }
    }
    return {};
}

void GuideAnalyzer::restart(uint64_t heard) {
    historyLength_ = 0;
    heard_ = heard;
    onsets_.restart();
    pairs_.restart();
}

}  // namespace guide
