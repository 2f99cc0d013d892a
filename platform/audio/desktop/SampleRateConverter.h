#pragma once
// Mono sample streams between rates (libsoxr at its high quality: 20-bit
// precision, flat to 91 % of the lower Nyquist frequency, far more than a
// signal read below 7 kHz needs), and the step from the ±1.0 float scale to
// signed 16-bit samples. The converter streams: it takes the input in pieces
// of any size and holds only its filter's state between them.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

struct soxr;

namespace platform::audio::desktop {

class SampleRateConverter {
public:
    // Whether the two rates are positive, finite and at most 256 times apart.
    static bool canConvert(double fromRate, double toRate);

    // The rates must be convertible; equal rates pass samples through.
    SampleRateConverter(double fromRate, double toRate);
    ~SampleRateConverter();
    SampleRateConverter(const SampleRateConverter&) = delete;
    SampleRateConverter& operator=(const SampleRateConverter&) = delete;

    // Appends the converted stretch to `output`; `last` also lets out the
    // samples the converter still holds back. False if the converter fails.
    bool process(std::span<const float> input, bool last, std::vector<float>& output);

    // Ready for a fresh signal at the same rates.
    void reset();

private:
    struct StateDeleter {
        void operator()(soxr* state) const;
    };
    const double ratio_;
    std::unique_ptr<soxr, StateDeleter> state_;
};

// Appends `input` (±1.0 full scale) as signed 16-bit samples, rounded and
// clipped to the 16-bit range.
void appendSamples16(std::span<const float> input, std::vector<int16_t>& output);

}  // namespace platform::audio::desktop
