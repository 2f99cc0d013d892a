#pragma once
// The forward real FFT of the pitch estimate: KISS FFT with single-precision
// scalars, whose headers stay inside this folder's sources. Its configuration
// (twiddle factors and scratch space) is made once and reused for every
// transform; it is released with the C library's free.

#include <memory>
#include <span>

namespace pitch {

class RealFft {
public:
    // `points` must be even.
    explicit RealFft(int points);
    ~RealFft();
    RealFft(const RealFft&) = delete;
    RealFft& operator=(const RealFft&) = delete;

    // Transforms `points` real values and writes the magnitude of each of the
    // first magnitudes.size() bins (at most points / 2 + 1), times `scale`.
    // Without a configuration (memory ran out) every magnitude is 0.
    void magnitudes(const float* timeData, std::span<double> magnitudes, double scale);

private:
    struct Transform;
    std::unique_ptr<Transform> transform_;
};

}  // namespace pitch
