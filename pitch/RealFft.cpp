#include "pitch/RealFft.h"

namespace pitch {

RealFft::RealFft(int points) : config_(kiss_fftr_alloc(points, /*inverse_fft=*/0, nullptr, nullptr)) {}

void RealFft::transform(const float* timeData, kiss_fft_cpx* frequencyData) {
    if (config_) kiss_fftr(config_.get(), timeData, frequencyData);
}

}  // namespace pitch
