#include "platform/audio/desktop/SampleRateConverter.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>

namespace platform::media {
namespace {

constexpr double kFullScale = 32768.0;
// Room the converter may need beyond the ratio's share of each stretch.
constexpr size_t kOutputMargin = 64;

}  // namespace

bool SampleRateConverter::canConvert(double fromRate, double toRate) {
    if (!(fromRate > 0.0) || !(toRate > 0.0) || !std::isfinite(fromRate) || !std::isfinite(toRate)) return false;
    return fromRate == toRate || src_is_valid_ratio(toRate / fromRate) != 0;
}

void SampleRateConverter::StateDeleter::operator()(SRC_STATE_tag* state) const { src_delete(state); }

SampleRateConverter::SampleRateConverter(double fromRate, double toRate) : ratio_(toRate / fromRate) {
    if (fromRate == toRate) return;
    int error = 0;
    state_.reset(src_new(SRC_SINC_FASTEST, 1, &error));
}

SampleRateConverter::~SampleRateConverter() = default;

bool SampleRateConverter::process(std::span<const float> input, bool last, std::vector<float>& output) {
    if (ratio_ == 1.0) {
        output.insert(output.end(), input.begin(), input.end());
        return true;
    }
    if (!state_) return false;
    SRC_DATA data{};
    data.data_in = input.data();
    data.input_frames = static_cast<long>(input.size());
    data.src_ratio = ratio_;
    data.end_of_input = last ? 1 : 0;
    for (;;) {
        const size_t start = output.size();
        const auto room = static_cast<size_t>(std::ceil(static_cast<double>(data.input_frames) * ratio_)) + kOutputMargin;
        output.resize(start + room);
        data.data_out = output.data() + start;
        data.output_frames = static_cast<long>(room);
        if (src_process(state_.get(), &data) != 0) {
            output.resize(start);
            return false;
        }
        output.resize(start + static_cast<size_t>(data.output_frames_gen));
        data.data_in += data.input_frames_used;
        data.input_frames -= data.input_frames_used;
        const bool drained = !last || data.output_frames_gen == 0;
        if (data.input_frames == 0 && drained) return true;
    }
}

void appendSamples16(std::span<const float> input, std::vector<int16_t>& output) {
    output.reserve(output.size() + input.size());
    for (const float value : input) {
        const double scaled = std::isnan(value) ? 0.0 : std::clamp(value * kFullScale, -kFullScale, kFullScale - 1.0);
        output.push_back(static_cast<int16_t>(std::lrint(scaled)));
    }
}

}  // namespace platform::media
