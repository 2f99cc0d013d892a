#pragma once
// Mono sample streams between rates (libsamplerate's fastest band-limited
// sinc converter, ample for a signal read below 7 kHz), and the step from the
// ±1.0 float scale to signed 16-bit samples.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct SRC_STATE_tag;

namespace platform::media {

class SampleRateConverter {
public:
    // Whether libsamplerate can convert between the two rates.
    static bool canConvert(double fromRate, double toRate);

    // The rates must be convertible; equal rates pass samples through.
    SampleRateConverter(double fromRate, double toRate);
    ~SampleRateConverter();
    SampleRateConverter(const SampleRateConverter&) = delete;
    SampleRateConverter& operator=(const SampleRateConverter&) = delete;

    // Appends the converted stretch to `output`; `last` also lets out the
    // samples the converter still holds back. False if the converter fails.
    bool process(std::span<const float> input, bool last, std::vector<float>& output);

private:
    struct StateDeleter {
        void operator()(SRC_STATE_tag* state) const;
    };
    const double ratio_;
    std::unique_ptr<SRC_STATE_tag, StateDeleter> state_;
};

// Appends `input` (±1.0 full scale) as signed 16-bit samples, rounded and
// clipped to the 16-bit range.
void appendSamples16(std::span<const float> input, std::vector<int16_t>& output);

}  // namespace platform::media
