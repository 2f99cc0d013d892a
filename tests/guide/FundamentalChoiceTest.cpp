// The choice of the fundamental among a window's peaks: each case a set of
// partials, the frequency they must be named by, and the peak to refine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guide/FundamentalChoice.h"

namespace {

using guide::SpectralPeak;

struct ChoiceCase {
    std::string name;
    std::vector<SpectralPeak> peaks;  // strongest first
    double fundamental;
    int refinedHarmonic;
};

TEST(FundamentalChoice, NamesThePartialsByTheirFundamental) {
    const ChoiceCase cases[] = {
        {"a pure sine", {{659.3, 0.5}}, 659.3, 1},
        {"a plucked string", {{440.0, 1.0}, {880.0, 0.6}, {1320.0, 0.4}, {1760.0, 0.25}, {2200.0, 0.15}}, 440.0, 1},
        {"a louder octave", {{659.3, 1.0}, {329.6, 0.5}, {988.9, 0.2}}, 329.6, 1},
        {"a weak fundamental", {{880.0, 1.0}, {1320.0, 0.7}, {1760.0, 0.5}, {2200.0, 0.3}, {440.0, 0.1}}, 440.0, 3},
        {"no fundamental", {{784.0, 1.0}, {1176.0, 0.6}, {1568.0, 0.5}, {1960.0, 0.3}}, 392.0, 3},
        {"an octave string louder than the weak fundamental beneath it",
         {{659.3, 1.0}, {1318.5, 0.5}, {329.6, 0.25}, {988.9, 0.1}},
         329.6,
         1},
        {"a strong twelfth", {{1569.8, 1.0}, {523.3, 0.3}, {1046.5, 0.2}}, 523.3, 1},
        {"stretched partials, a few cents sharp each",
         {{329.6, 1.0}, {659.5, 0.5}, {989.6, 0.3}, {1320.2, 0.2}},
         329.6,
         1},
        {"a noise peak beside a sine", {{392.0, 1.0}, {1234.5, 0.02}}, 392.0, 1},
    };
    for (const auto& [name, peaks, fundamental, refinedHarmonic] : cases) {
        SCOPED_TRACE(name);
        const auto choice = guide::chooseFundamental(peaks);
        ASSERT_TRUE(choice);
        EXPECT_NEAR(choice->hertz, fundamental, 0.1);
        EXPECT_EQ(choice->harmonic, refinedHarmonic);
        EXPECT_NEAR(choice->partial.hertz / choice->harmonic, fundamental, 0.1);
    }
}

TEST(FundamentalChoice, NamesNothingWithoutPeaksOrBelowTheLowestFundamental) {
    EXPECT_FALSE(guide::chooseFundamental({}));
    const std::vector<SpectralPeak> hum = {{50.0, 1.0}};
    EXPECT_FALSE(guide::chooseFundamental(hum));
}

}  // namespace
