#include "pitch/RealFft.h"

#include <kissfft/kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pitch {

struct RealFft::Transform {
    struct ConfigDeleter {
        void operator()(kiss_fftr_state* config) const { kiss_fftr_free(config); }
    };
    std::unique_ptr<kiss_fftr_state, ConfigDeleter> config;
    // Cleared when made, so a missing configuration reads silence.
    std::vector<kiss_fft_cpx> bins;
};

RealFft::RealFft(int points)
    : transform_(std::make_unique<Transform>()) {
    transform_->config.reset(kiss_fftr_alloc(points, /*inverse_fft=*/0, nullptr, nullptr));
    transform_->bins.resize(static_cast<size_t>(points / 2 + 1));
}

RealFft::~RealFft() = default;

void RealFft::magnitudes(const float* timeData, std::span<double> magnitudes, double scale) {
    if (transform_->config) kiss_fftr(transform_->config.get(), timeData, transform_->bins.data());
    const size_t count = std::min(magnitudes.size(), transform_->bins.size());
    for (size_t k = 0; k < count; ++k) {
        const double r = transform_->bins[k].r;
        const double i = transform_->bins[k].i;
        magnitudes[k] = std::sqrt(r * r + i * i) * scale;
    }
}

}  // namespace pitch
