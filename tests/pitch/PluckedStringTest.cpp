// The detector on plucked strings: each of the five open pitches, in tune and
// detuned, struck with different phases and strengths, early and late in the
// sound. The estimate is a whole bin, so its error is measured in cents.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "pitch/PitchEstimator.h"
#include "tests/pitch/PluckedString.h"

namespace {

using namespace pitch_testing;

struct StringCase {
    const char* name;
    double pitch;
};

const StringCase kStrings[] = {{"E5", kE5}, {"A4", kA4}, {"E4", kE4}, {"C5", kC5}, {"G4", kG4}};
const double kDetunings[] = {-20.0, -4.0, -3.0, 0.0, 3.0, 4.0, 20.0};  // cents

// One bin is 1.1 (at E5) to 2.3 (at E4) cents wide; the harmonic sum's
// grouping lets the answer sit up to about half a bin above the nearest one.
constexpr double kToleranceCents = 1.5;

TEST(PitchPluckedStrings, FindsEveryOpenPitchInTuneAndDetuned) {
    auto detector = std::make_unique<pitch::PitchEstimator>(kCaptureRate);
    for (const auto& string : kStrings) {
        for (const double cents : kDetunings) {
            for (const Pluck style : {Pluck{.level = 0.1}, Pluck{.level = 0.02, .phase = 1.3},
                                      Pluck{.level = 0.3, .phase = 2.9, .noiseSeed = 7}}) {
                Pluck pluck = style;
                pluck.frequency = detuned(string.pitch, cents);
                const auto samples = pluckedString(pluck, 4096);
                detector->setAudioBuffer(samples.data(), 8192);
                const double error = centsBetween(detector->frequency(), pluck.frequency);
                EXPECT_LE(std::abs(error), kToleranceCents)
                    << string.name << " " << cents << " cents, level " << pluck.level << ", phase " << pluck.phase;
            }
        }
    }
}

TEST(PitchPluckedStrings, KeepsThePitchAsTheStringFades) {
    auto detector = std::make_unique<pitch::PitchEstimator>(kCaptureRate);
    constexpr int kBuffers = 8;  // about 2.3 s, the fundamental down to a seventh
    for (const auto& string : kStrings) {
        const auto samples = pluckedString(Pluck{.frequency = string.pitch}, 4096 * kBuffers);
        for (int buffer = 0; buffer < kBuffers; ++buffer) {
            detector->setAudioBuffer(samples.data() + 4096 * buffer, 8192);
            EXPECT_LE(std::abs(centsBetween(detector->frequency(), string.pitch)), kToleranceCents)
                << string.name << " buffer " << buffer;
        }
    }
}

}  // namespace
