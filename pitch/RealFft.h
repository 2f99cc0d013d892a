#pragma once
// The forward real FFT of the pitch estimate: KISS FFT with single-precision
// scalars. Its configuration (twiddle factors and scratch space) is made once
// and reused for every transform; it is released with the C library's free.

#include <kissfft/kiss_fftr.h>

#include <memory>

namespace pitch {

class RealFft {
public:
    // `points` must be even.
    explicit RealFft(int points);

    // Fills points / 2 + 1 complex values from `points` real ones. Without a
    // configuration (memory ran out) it writes nothing.
    void transform(const float* timeData, kiss_fft_cpx* frequencyData);

private:
    struct ConfigDeleter {
        void operator()(kiss_fftr_state* config) const { kiss_fftr_free(config); }
    };
    std::unique_ptr<kiss_fftr_state, ConfigDeleter> config_;
};

}  // namespace pitch
