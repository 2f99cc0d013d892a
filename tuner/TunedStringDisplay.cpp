#include "tuner/TunedStringDisplay.h"

#include <array>
#include <span>
#include <string>

#include "platform/core/Device.h"
#include "platform/ui/Image.h"
#include "tuner/OutletUpdates.h"

namespace tuner {
namespace {

constexpr size_t kStringCount = 6;

// The picture sizes, each named by its suffix: "<ordinal>_string<suffix>.png".
enum Size : size_t { kPlain, kFive, kSix, kSixPlus, kIPad, kIPadPro, kSizeCount };
constexpr std::array<std::string_view, kSizeCount> kSuffixes{"", "_5", "_6", "_6plus", "_iPad", "_iPad_Pro"};
constexpr std::array<std::string_view, kStringCount> kOrdinals{"1st", "2nd", "3rd", "4th", "5th", "6th"};

using PictureView = std::shared_ptr<platform::ImageView> ScreenOutlets::*;

// Screen heights in points, compared for equality.
struct ScreenRow {
    std::span<const double> heights;
    Size size;
    PictureView view;
};

constexpr double kIPadHeights[] = {1024};
constexpr double kIPadProHeights[] = {1080, 1112, 1133, 1180, 1194, 1210, 1366, 1376};
constexpr double kPhone4sHeights[] = {480};
constexpr double kPhone5Heights[] = {568};
constexpr double kPhone6Heights[] = {667};
constexpr double kPhone6PlusHeights[] = {736, 812, 844, 852, 874, 896, 912, 926, 932, 956};

const ScreenRow kTabletTable[] = {
    {kIPadHeights, kIPad, &ScreenOutlets::tunedStringiPad},
    {kIPadProHeights, kIPadPro, &ScreenOutlets::tunedStringiPad},
};

const ScreenRow kPhoneTable[] = {
    {kPhone4sHeights, kPlain, &ScreenOutlets::tunedString},
    {kPhone5Heights, kFive, &ScreenOutlets::tunedString5},
    {kPhone6Heights, kSix, &ScreenOutlets::tunedString5},
    {kPhone6PlusHeights, kSixPlus, &ScreenOutlets::tunedString5},
};

// All 36 names, made once: a tick that shows a string makes no new text.
const std::string& pictureName(int64_t stringIndex, Size size) {
    static const auto names = [] {
        std::array<std::array<std::string, kSizeCount>, kStringCount> table;
        for (size_t string = 0; string < kStringCount; ++string) {
            for (size_t suffix = 0; suffix < kSizeCount; ++suffix) {
                table[string][suffix] =
                    std::string(kOrdinals[string]) + "_string" + std::string(kSuffixes[suffix]) + ".png";
            }
        }
        return table;
    }();
    return names[static_cast<size_t>(stringIndex - 1)][size];
}

const ScreenRow* rowFor(std::span<const ScreenRow> table, double height) {
    for (const ScreenRow& row : table) {
        for (const double rowHeight : row.heights) {
            if (height == rowHeight) return &row;
        }
    }
    return nullptr;
}

}  // namespace

void displayTunedString(const ScreenOutlets& outlets, int64_t stringIndex) {
    if (stringIndex < 1 || stringIndex > static_cast<int64_t>(kStringCount)) return;
    const auto show = [&outlets, stringIndex](std::span<const ScreenRow> table) {
        if (const ScreenRow* row = rowFor(table, platform::Screen::mainBoundsHeight())) {
            setImage(outlets.*(row->view), platform::imageNamed(pictureName(stringIndex, row->size)));
        }
    };
    if (platform::Device::userInterfaceIdiom() == platform::Device::kIdiomTablet) show(kTabletTable);
    if (platform::Device::userInterfaceIdiom() != platform::Device::kIdiomPhone) return;
    show(kPhoneTable);
}

}  // namespace tuner
