// The capture's ring: samples come out in order across its end, and what does
// not fit is dropped and counted rather than written over unread samples.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "guide/SampleFifo.h"

namespace {

std::vector<int16_t> counting(size_t count, int16_t first) {
    std::vector<int16_t> samples(count);
    std::iota(samples.begin(), samples.end(), first);
    return samples;
}

TEST(SampleFifo, HandsSamplesOverInOrderAcrossTheRingsEnd) {
    guide::SampleFifo fifo;
    std::vector<int16_t> out(1000);
    int16_t next = 0;
    for (int round = 0; round < 40; ++round) {  // well past the ring's length
        fifo.write(counting(out.size(), next));
        ASSERT_EQ(fifo.available(), out.size());
        fifo.read(out);
        EXPECT_EQ(out, counting(out.size(), next));
        next = static_cast<int16_t>(next + 1000);
    }
    EXPECT_EQ(fifo.dropped(), 0u);
}

TEST(SampleFifo, DropsAndCountsWhatDoesNotFit) {
    guide::SampleFifo fifo;
    fifo.write(counting(guide::SampleFifo::kCapacity - 10, 0));
    fifo.write(counting(25, 1));
    EXPECT_EQ(fifo.available(), guide::SampleFifo::kCapacity);
    EXPECT_EQ(fifo.dropped(), 15u);
    std::vector<int16_t> out(guide::SampleFifo::kCapacity);
    fifo.read(out);
    // The samples that were waiting are intact; the first that fitted follow them.
    EXPECT_EQ(out[guide::SampleFifo::kCapacity - 11], static_cast<int16_t>(guide::SampleFifo::kCapacity - 11));
    EXPECT_EQ(out.back(), 10);
}

}  // namespace
