#pragma once
// A gauge that remembers: the values it took over the last seconds, to be
// drawn as a line over time on the gauge's scale, its zone marked, the latest
// at the right. Adding a value sets the gauge's; a point without a value is a
// gap (nothing measured then); once the span holds gaps alone, a gap added
// changes nothing to be seen and is not told. Values beyond an end are drawn at it. The
// points live in storage of their own, made once: adding one allocates nothing.

#include <array>
#include <cstddef>
#include <optional>

#include "platform/ui/Gauge.h"

namespace platform {

class Trace : public Visitable<Trace, Gauge> {
public:
    // Points kept: ten seconds at 50 a second.
    static constexpr size_t kCapacity = 512;

    struct Point {
        double time = 0.0;  // seconds, from any origin, never going back
        std::optional<float> value;
    };

    // Seconds shown, ending at the latest point.
    double span() const { return span_; }
    void setSpan(double seconds);

    // The value at `time`, or a gap; the oldest point goes once kCapacity are kept.
    void add(double time, std::optional<float> value, std::string_view spokenValue);
    // Forgets every point.
    void clearPoints();

    // The points kept, oldest first: index 0 to size() - 1.
    size_t size() const { return count_; }
    const Point& point(size_t index) const { return points_[(first_ + index) % kCapacity]; }

private:
    std::array<Point, kCapacity> points_{};
    size_t first_ = 0;
    size_t count_ = 0;
    double span_ = 10.0;
    std::optional<double> latestValueTime_;  // of the latest point with a value
};

}  // namespace platform
