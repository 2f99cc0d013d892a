#include "platform/audio/desktop/SampleRateConverter.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>

namespace platform::audio::desktop {
namespace {

constexpr double kFullScale = 32768.0;
// The widest ratio between the rates: beyond it a recording is taken for
// damaged rather than converted into a flood (or a trickle) of samples.
constexpr double kWidestRatio = 256.0;
// Room the converter may need beyond the ratio's share of each stretch.
constexpr size_t kOutputMargin = 64;

}  // namespace

bool SampleRateConverter::canConvert(double fromRate, double toRate) {
    if (!(fromRate > 0.0) || !(toRate > 0.0) || !std::isfinite(fromRate) || !std::isfinite(toRate)) return false;
    const double ratio = toRate / fromRate;
    return ratio <= kWidestRatio && ratio >= 1.0 / kWidestRatio;
}

void SampleRateConverter::StateDeleter::operator()(soxr* state) const { soxr_delete(state); }

SampleRateConverter::SampleRateConverter(double fromRate, double toRate) : ratio_(toRate / fromRate) {
    if (fromRate == toRate) return;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    state_.reset(soxr_create(fromRate, toRate, 1, &error, &io, &quality, nullptr));
    if (error) state_.reset();
}

SampleRateConverter::~SampleRateConverter() = default;

void SampleRateConverter::reset() {
    if (state_) soxr_clear(state_.get());
}

bool SampleRateConverter::process(std::span<const float> input, bool last, std::vector<float>& output) {
    if (ratio_ == 1.0) {
        output.insert(output.end(), input.begin(), input.end());
        return true;
    }
    if (!state_) return false;
    const float* in = input.data();
    size_t left = input.size();
    // The input first, then (when it is the last) null input until the
    // converter has let out all it held back.
    for (bool flushing = false;;) {
        const size_t start = output.size();
        const auto room = static_cast<size_t>(std::ceil(static_cast<double>(left) * ratio_)) + kOutputMargin;
        output.resize(start + room);
        size_t used = 0;
        size_t made = 0;
        const soxr_error_t error =
            soxr_process(state_.get(), flushing ? nullptr : in, flushing ? 0 : left, &used, output.data() + start, room,
                         &made);
        output.resize(start + made);
        if (error) return false;
        in += used;
        left -= used;
        if (left > 0) continue;
        if (!last) return true;
        if (flushing && made < room) return true;
        flushing = true;
    }
}

void appendSamples16(std::span<const float> input, std::vector<int16_t>& output) {
    output.reserve(output.size() + input.size());
    for (const float value : input) {
        const double scaled = std::isnan(value) ? 0.0 : std::clamp(value * kFullScale, -kFullScale, kFullScale - 1.0);
        output.push_back(static_cast<int16_t>(std::lrint(scaled)));
    }
}

}  // namespace platform::audio::desktop
