// `pallqa-tuner analyze FILE --plot OUT`: the guide's readings drawn as a
// picture of the right size, with the in-tune band and each course's readings
// in its own colour where their cents put them; a file it cannot write named
// with the reason.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/GuidePlot.h"
#include "platform/ui/cairo/CairoPictureFile.h"
#include "tests/app/AnalyzeRun.h"
#include "tests/guide/GuideSignals.h"
#include "tests/support/PlainPlatform.h"
#include "tests/support/WaveFiles.h"

namespace {

namespace fs = std::filesystem;
using analyze_testing::analyze;
using app::GuidePlotLayout;
using pitch_testing::detuned;

constexpr double kPluckSeconds = 1.0;

// A4 20 cents flat for a second, then E4 12 cents sharp for a second.
fs::path recordTwoStrings() {
    std::vector<int16_t> samples;
    for (const double pitch : {detuned(pitch_testing::kA4, -20.0), detuned(pitch_testing::kE4, 12.0)}) {
        const auto pluck = pitch_testing::pluckedString({.frequency = pitch}, pitch_testing::kSamplesPerSecond);
        samples.insert(samples.end(), pluck.begin(), pluck.end());
    }
    const auto path = testing_support::temporaryFolder() / "two-strings.wav";
    platform_testing::writeWave(path, samples, pitch_testing::kSamplesPerSecond);
    return path;
}

struct SurfaceCloser {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceCloser>;

// Whether a pixel within two of (x, y) on a PNG has `color`, give or take the
// rounding of each part.
bool hasColorNear(cairo_surface_t* png, double x, double y, platform::PictureColor color) {
    const unsigned char* data = cairo_image_surface_get_data(png);
    const int stride = cairo_image_surface_get_stride(png);
    const auto near = [](uint32_t argb, int shift, double part) {
        return std::abs(static_cast<int>((argb >> shift) & 0xffu) - static_cast<int>(std::lround(part * 255.0))) <= 2;
    };
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            uint32_t argb;  // native order, opaque: 0xffRRGGBB
            std::memcpy(&argb, data + (static_cast<int>(y) + dy) * stride + (static_cast<int>(x) + dx) * 4, sizeof argb);
            if (near(argb, 16, color.red) && near(argb, 8, color.green) && near(argb, 0, color.blue)) return true;
        }
    }
    return false;
}

class AnalyzePlot : public testing::Test {
protected:
    void SetUp() override { platform::setPictureFileMaker(platform::ui::cairo::makeCairoPictureFile); }
    void TearDown() override { platform::setPictureFileMaker(nullptr); }
};

TEST_F(AnalyzePlot, DrawsTheInTuneBandAndEachCoursesReadingsInItsColourOnAPng) {
    const auto out = testing_support::temporaryFolder() / "plot.png";
    const auto run = analyze({recordTwoStrings().string(), "--plot", out.string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(run.lines.empty());  // the readings go to the picture only
    const Surface png(cairo_image_surface_create_from_png(out.c_str()));
    ASSERT_EQ(cairo_surface_status(png.get()), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png.get()), GuidePlotLayout::kWidth);
    EXPECT_EQ(cairo_image_surface_get_height(png.get()), GuidePlotLayout::kHeight);

    GuidePlotLayout layout;
    layout.seconds = 2.0;
    // The band, at the left where no reading has come yet (the first comes after 36 ms).
    EXPECT_TRUE(hasColorNear(png.get(), layout.area.x + 4.0, layout.yOfCents(2.5), {0.80, 0.94, 0.84}));
    // The A4 readings at -20 cents through the first second, E4's at +12 through the second.
    const auto a4 = app::courseColor(2);
    const auto e4 = app::courseColor(3);
    EXPECT_TRUE(hasColorNear(png.get(), layout.xOfSeconds(0.5), layout.yOfCents(-20.0), a4));
    EXPECT_TRUE(hasColorNear(png.get(), layout.xOfSeconds(1.5), layout.yOfCents(12.0), e4));
    // And nothing of them where the strings were not.
    EXPECT_FALSE(hasColorNear(png.get(), layout.xOfSeconds(0.5), layout.yOfCents(12.0), e4));
    EXPECT_FALSE(hasColorNear(png.get(), layout.xOfSeconds(1.5), layout.yOfCents(-20.0), a4));
}

TEST_F(AnalyzePlot, WritesAnSvgOfTheSameSizeBesideTheGuidesLines) {
    const auto out = testing_support::temporaryFolder() / "plot.SVG";
    const auto run = analyze({recordTwoStrings().string(), "--guide", "--plot", out.string()});
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.lines.size(), (2 * pitch_testing::kSamplesPerSecond + guide::kHopSamples - 1) / guide::kHopSamples);
    std::ifstream file(out);
    const std::string svg{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find(R"(viewBox="0 0 1200 600")"), std::string::npos);
    // Cairo writes text as glyph outlines; a dot is a filled path.
    EXPECT_NE(svg.find("<path"), std::string::npos);
}

TEST_F(AnalyzePlot, NamesAPictureItCannotWrite) {
    const auto recording = recordTwoStrings();
    const struct {
        fs::path out;
        std::string reason;
    } cases[] = {
        {testing_support::temporaryFolder() / "plot.gif", "is neither .svg nor .png"},
        {testing_support::temporaryFolder() / "no-such-folder" / "plot.png", "error while writing to output stream"},
    };
    for (const auto& [out, reason] : cases) {
        SCOPED_TRACE(out);
        const auto run = analyze({recording.string(), "--plot", out.string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.errors, "pallqa-tuner analyze: " + out.string() + ": " + reason + "\n");
    }
}

}  // namespace
