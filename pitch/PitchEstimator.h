#pragma once
// The frequency estimate of the latest capture buffer: the samples, unscaled,
// followed by zeros through a 32768-point real FFT; the magnitude of every bin;
// a harmonic sum; the first strongest bin, in hertz. No window, no
// interpolation, no history: the same buffer always gives the same answer.
//
// The capture thread hands buffers over with setAudioBuffer(); frequency() is
// asked by one other thread (the main thread's tick). The hand-over is the one
// thing guarded by the lock. The estimate is kept with the number of the
// buffer it came from, so asking again before a new buffer arrives costs no
// transform and gives the same result; so does a new buffer that holds the
// same samples as the one estimated last (silence, buffer after buffer).

#include <array>
#include <cstdint>
#include <mutex>
#include <span>

#include "pitch/RealFft.h"
#include "platform/audio/AudioQueue.h"

namespace pitch {

class PitchEstimator {
public:
    static constexpr uint32_t kFftPoints = 32768;
    static constexpr uint32_t kSpectrumBins = kFftPoints / 2;
    // What frequency() analyses of the latest buffer: one capture buffer of
    // 4096 samples. A longer buffer is cut to this length when it is stored.
    static constexpr uint32_t kAnalysedBytes = 8192;

    // `sampleRate` converts bins to hertz.
    explicit PitchEstimator(double sampleRate);
    PitchEstimator(const PitchEstimator&) = delete;
    PitchEstimator& operator=(const PitchEstimator&) = delete;

    // Runs on the capture thread. Keeps a copy of `length` bytes of 16-bit
    // samples (at most kAnalysedBytes) as the latest buffer.
    void setAudioBuffer(const void* data, uint32_t length);
    // The estimate for the latest buffer in hertz; 0.0 before the first one.
    float frequency();
    // The latest buffer's frequency to a fraction of a bin, in hertz: the
    // peak of the spectrum frequency() was found in, near its bin. For the
    // tuning guide; frequency() and its bin stay as they are. 0.0 before the
    // first buffer.
    double refinedFrequency();
    // The meter's reading (as the capture queue's) of the latest buffer
    // frequency() estimated, gathered in the same pass as the transform's
    // input; silence before the first buffer.
    const platform::AudioQueueLevelMeterState& level() const { return level_; }
    // How many buffers have been estimated so far: a reading with the same
    // count as the last one comes from the same buffer.
    uint64_t estimatedBuffers() const { return estimatedBuffer_; }

    // The chain on `length` bytes of samples (an odd last byte is dropped).
    // These and everything below use the analysis arrays: one thread at a time.
    float getFreqFromBuffer(const int16_t* samples, uint32_t length);
    // Transforms `totalSamples` samples (at most kFftPoints are used),
    // followed by zeros, into the magnitude spectrum, freq_db.
    void performFFT(const int16_t* samples, uint32_t totalSamples);
    // Fills freq_db_harmonic from freq_db; answers its first strongest bin,
    // found on the way.
    int addHarmonics();
    // The first strongest bin of freq_db_harmonic.
    int findTopSpike() const;
    // The bin's frequency in hertz, as the estimate reports it, and back.
    float frequencyOfBin(int bin) const;
    int binOfFrequency(float frequency) const;
    // The peak of freq_db near `bin`, to a fraction of a bin, in hertz.
    double refinedFrequencyOfBin(int bin) const;
    double sampleRate() const { return sampleRate_; }

    // The magnitude spectrum and the harmonic sum, kSpectrumBins values each.
    const double* freq_db() const { return freq_db_.data(); }
    const double* freq_db_harmonic() const { return freq_db_harmonic_.data(); }

    // The Hamming weight of position n among N samples, and the window applied
    // in place. Offered by the estimator's interface and used by nothing but
    // its tests: the estimate applies no window.
    double hamming_window(int16_t n, int16_t N) const;
    void performWindow(int16_t* samples, uint32_t totalSamples) const;

private:
    const double sampleRate_;

    // The hand-over, guarded by the lock.
    std::recursive_mutex lock_;
    std::array<int16_t, kAnalysedBytes / sizeof(int16_t)> audio_data_{};
    uint32_t audio_data_len_ = 0;
    uint64_t buffersReceived_ = 0;

    // The last estimate and the buffer it was made from; frequency()'s thread only.
    uint64_t estimatedBuffer_ = 0;
    float estimate_ = 0.0f;
    double refinedEstimate_ = 0.0;
    platform::AudioQueueLevelMeterState level_;
    // The samples the estimate above was made from, while the analysis arrays
    // still hold their spectrum; an empty span once another chain ran.
    std::array<int16_t, kAnalysedBytes / sizeof(int16_t)> estimatedSamples_{};
    std::span<const int16_t> estimatedKept_;

    // The analysis arrays. The transform's input holds zeros from
    // samplesInFft_ on: the samples of one buffer fill its start, and only
    // what a longer buffer before it left there needs clearing.
    std::array<float, kFftPoints> in_fft_{};
    uint32_t samplesInFft_ = 0;
    std::array<double, kSpectrumBins> freq_db_{};
    std::array<double, kSpectrumBins> freq_db_harmonic_{};
    RealFft fft_;
};

}  // namespace pitch
