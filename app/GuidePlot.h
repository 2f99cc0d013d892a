#pragma once
// `analyze FILE --plot OUT.svg|OUT.png`: the guide's readings of a recording
// drawn as cents from the nearest course over time — one dot per reading in
// its course's colour, the readings of one course joined, the in-tune band of
// ±5 cents shaded, the scale from -50 to +50 cents as the needle's (a reading
// beyond it sits on the edge), a legend of the courses and the file's name.
// Readings quieter than the screen's usual clearing level are left out.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "guide/GuideReading.h"
#include "platform/core/Geometry.h"
#include "platform/ui/PictureFile.h"

namespace app {

// Where things lie on the picture, for the drawing and for whoever checks it.
struct GuidePlotLayout {
    static constexpr double kWidth = 1200.0;
    static constexpr double kHeight = 600.0;
    static constexpr double kCentsShown = 50.0;  // either way, as the needle

    // The plotting area, within the margins that hold the scales and legend.
    platform::Rect area{80.0, 60.0, kWidth - 110.0, kHeight - 120.0};
    double seconds = 1.0;  // the time the area spans

    double xOfSeconds(double t) const { return area.x + area.width * t / seconds; }
    // Offsets beyond the scale sit on its edge.
    double yOfCents(double cents) const;
};

// The colour of course `number` (1 to 5) on the plot.
platform::PictureColor courseColor(int number);

// Draws the plot of `readings` (made at `sampleRate`) into `file`; false with
// `error` saying why when the picture cannot be written.
bool drawGuidePlot(const std::filesystem::path& file, std::string_view title,
                   std::span<const guide::GuideReading> readings, double sampleRate, std::string& error);

}  // namespace app
