#include "app/LayoutSelection.h"

#include <algorithm>

#include "platform/core/Device.h"
#include "platform/core/Log.h"

namespace app {
namespace {

struct HeightRow {
    std::vector<double> heights;
    const char* layoutName;
    bool logAfter;  // the phone table logs the height after some of its tests
};

const std::vector<HeightRow>& phoneRows() {
    static const std::vector<HeightRow> rows = {
        {{480}, "Main_iPhone4s", false},
        {{568}, "Main_iPhone", false},
        {{667}, "Main_iPhone6", false},
        {{736}, "Main_iPhone6Plus", true},
        {{812}, "Main_iPhoneX", true},
        {{874, 844, 852}, "Main_iPhone12Pro", true},
        {{896}, "Main_iPhoneXSMax", true},
        {{912, 926, 932, 956}, "Main_iPhone12ProMax", true},
    };
    return rows;
}

const std::vector<HeightRow>& tabletRows() {
    static const std::vector<HeightRow> rows = {
        {{1024}, "Main_iPad", false},
        {{1080}, "Main_iPad_Pro_10_5", false},
        {{1112}, "Main_iPad_Pro_10_5", false},
        {{1133}, "Main_iPad_Mini6", false},
        {{1180}, "Main_iPad_Pro_10_5", false},
        {{1194, 1210}, "Main_iPad_Pro_11", false},
        {{1366, 1376}, "Main_iPad_Pro", true},
    };
    return rows;
}

// Runs every test of the table in order, each whatever the earlier outcome.
void applyTable(const std::vector<HeightRow>& rows, double height, const char* logFormat, LayoutChoice& choice) {
    for (const auto& row : rows) {
        if (std::find(row.heights.begin(), row.heights.end(), height) != row.heights.end()) {
            choice.layoutName = row.layoutName;
        }
        if (row.logAfter) {
            choice.logLines.push_back(platform::formatMessage(logFormat, std::vector<platform::LogArg>{height}));
        }
    }
}

}  // namespace

LayoutChoice chooseLayout(int64_t userInterfaceIdiom, double screenHeight) {
    LayoutChoice choice;
    if (userInterfaceIdiom == platform::Device::kIdiomPhone) {
        applyTable(phoneRows(), screenHeight, "iPhone has a height of: %f", choice);
    }
    if (userInterfaceIdiom == platform::Device::kIdiomTablet) {
        applyTable(tabletRows(), screenHeight, "iPad has a height of: %f", choice);
    }
    return choice;
}

namespace {

// "480, 568 and 667", the last two joined by `andWord`.
std::string heightList(const std::vector<HeightRow>& rows, std::string_view andWord) {
    std::vector<double> heights;
    for (const auto& row : rows) heights.insert(heights.end(), row.heights.begin(), row.heights.end());
    std::sort(heights.begin(), heights.end());
    std::string text;
    for (size_t i = 0; i < heights.size(); ++i) {
        if (i > 0) text += i + 1 == heights.size() ? " " + std::string(andWord) + " " : ", ";
        text += platform::formatMessage("%g", std::vector<platform::LogArg>{heights[i]});
    }
    return text;
}

}  // namespace

ServedHeights servedHeightLists(std::string_view andWord) {
    return {heightList(phoneRows(), andWord), heightList(tabletRows(), andWord)};
}

const std::vector<std::string>& allLayoutNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const auto* rows : {&phoneRows(), &tabletRows()}) {
            for (const auto& row : *rows) {
                if (std::find(all.begin(), all.end(), row.layoutName) == all.end()) all.push_back(row.layoutName);
            }
        }
        return all;
    }();
    return names;
}

}  // namespace app
