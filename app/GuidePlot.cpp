#include "app/GuidePlot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "tuner/SensitivityTable.h"
#include "tuner/TuningGuide.h"

namespace app {
namespace {

using platform::PictureColor;
using platform::TextAlignment;

constexpr PictureColor kBackground{1.0, 1.0, 1.0};
constexpr PictureColor kInTuneBand{0.80, 0.94, 0.84};
constexpr PictureColor kGrid{0.88, 0.89, 0.91};
constexpr PictureColor kAxis{0.35, 0.38, 0.42};
constexpr PictureColor kText{0.12, 0.14, 0.17};
// One colour per course, told apart also by readers with the commonest colour blindness.
constexpr std::array<PictureColor, 5> kCourseColors{{
    {0.84, 0.37, 0.00},  // 1 E5, vermilion
    {0.00, 0.45, 0.70},  // 2 A4, blue
    {0.80, 0.47, 0.65},  // 3 E4, reddish purple
    {0.90, 0.62, 0.00},  // 4 C5, orange
    {0.00, 0.62, 0.45},  // 5 G4, bluish green
}};
constexpr double kGridCents = 10.0;
constexpr double kDotRadius = 3.0;
constexpr double kLineWidth = 3.0;
constexpr double kLabelSize = 13.0;
constexpr double kTitleSize = 16.0;

// Seconds between the time scale's ticks: about eight across the plot.
double tickSpacing(double seconds) {
    for (const double spacing : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 30.0, 60.0, 120.0, 300.0, 600.0}) {
        if (seconds / spacing <= 8.0) return spacing;
    }
    return 1200.0;
}

std::string numberText(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void drawScales(platform::PictureFile& picture, const GuidePlotLayout& layout) {
    const platform::Rect& area = layout.area;
    const double bandTop = layout.yOfCents(tuner::kInTuneCents);
    picture.fillRectangle({area.x, bandTop, area.width, layout.yOfCents(-tuner::kInTuneCents) - bandTop}, kInTuneBand);
    for (double cents = -GuidePlotLayout::kCentsShown; cents <= GuidePlotLayout::kCentsShown; cents += kGridCents) {
        const double y = layout.yOfCents(cents);
        picture.strokeLine(area.x, y, area.x + area.width, y, cents == 0.0 ? kAxis : kGrid, 1.0);
        picture.drawText(area.x - 8.0, y + 4.5, numberText("%+.0f", cents), kLabelSize, kText, TextAlignment::Right);
    }
    const double spacing = tickSpacing(layout.seconds);
    for (double t = 0.0; t <= layout.seconds + 1e-9; t += spacing) {
        const double x = layout.xOfSeconds(t);
        picture.strokeLine(x, area.y + area.height, x, area.y + area.height + 5.0, kAxis, 1.0);
        picture.drawText(x, area.y + area.height + 20.0, numberText(spacing < 1.0 ? "%.1f" : "%.0f", t), kLabelSize,
                         kText, TextAlignment::Center);
    }
    picture.drawText(area.x + area.width / 2.0, area.y + area.height + 42.0, "seconds", kLabelSize, kText,
                     TextAlignment::Center);
    picture.drawText(area.x - 60.0, area.y - 12.0, "cents", kLabelSize, kText, TextAlignment::Left);
}

void drawLegend(platform::PictureFile& picture, const GuidePlotLayout& layout) {
    double x = layout.area.x + layout.area.width;
    for (auto course = sound::kCourses.rbegin(); course != sound::kCourses.rend(); ++course) {
        const std::string label = std::to_string(course->number) + " " + std::string(course->note);
        picture.drawText(x, layout.area.y - 12.0, label, kLabelSize, kText, TextAlignment::Right);
        x -= 8.0 * static_cast<double>(label.size()) + 14.0;
        picture.fillCircle(x + 6.0, layout.area.y - 16.5, 5.0, courseColor(course->number));
        x -= 14.0;
    }
}

void drawReadings(platform::PictureFile& picture, const GuidePlotLayout& layout,
                  std::span<const guide::GuideReading> readings, double sampleRate) {
    struct Point {
        double x = 0.0;
        double y = 0.0;
        int course = 0;  // none: the line starts afresh
    };
    // As quiet as the screen clears at, at its usual sensitivity: what is
    // left of a string fading into the room's noise.
    const double quietest = tuner::limitsForSensitivityLevel(tuner::kStartSensitivityLevel)->bottom;
    Point previous;
    for (const guide::GuideReading& reading : readings) {
        const auto guidance = tuner::nearestCourse(reading.frequency);
        if (!guidance || reading.level < quietest) {
            previous = {};  // a gap in the line
            continue;
        }
        const Point point{layout.xOfSeconds(static_cast<double>(reading.heard) / sampleRate),
                          layout.yOfCents(guidance->cents), guidance->course->number};
        const PictureColor color = courseColor(point.course);
        if (previous.course == point.course) {
            picture.strokeLine(previous.x, previous.y, point.x, point.y, color, kLineWidth);
        }
        picture.fillCircle(point.x, point.y, kDotRadius, color);
        previous = point;
    }
}

}  // namespace

double GuidePlotLayout::yOfCents(double cents) const {
    const double shown = std::clamp(cents, -kCentsShown, kCentsShown);
    return area.y + area.height * (kCentsShown - shown) / (2.0 * kCentsShown);
}

PictureColor courseColor(int number) {
    return kCourseColors[static_cast<size_t>(std::clamp(number, 1, static_cast<int>(kCourseColors.size())) - 1)];
}

bool drawGuidePlot(const std::filesystem::path& file, std::string_view title,
                   std::span<const guide::GuideReading> readings, double sampleRate, std::string& error) {
    auto picture = platform::makePictureFile(file, GuidePlotLayout::kWidth, GuidePlotLayout::kHeight, error);
    if (!picture) return false;
    GuidePlotLayout layout;
    if (!readings.empty()) layout.seconds = std::max(layout.seconds, static_cast<double>(readings.back().heard) / sampleRate);
    picture->fillRectangle({0.0, 0.0, GuidePlotLayout::kWidth, GuidePlotLayout::kHeight}, kBackground);
    picture->drawText(layout.area.x, 28.0, title, kTitleSize, kText, TextAlignment::Left);
    drawScales(*picture, layout);
    drawLegend(*picture, layout);
    drawReadings(*picture, layout, readings, sampleRate);
    return picture->save(error);
}

}  // namespace app
