#pragma once
// A chord screen on the plain platform: its views made as a layout would make
// them, a scripted random source, counted rating-prompt requests, and readers
// of what the diagram shows.

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chords/ChordShape.h"
#include "chords/ChordsViewController.h"
#include "platform/ui/Controls.h"
#include "platform/ui/PickerView.h"
#include "tests/support/PlainPlatform.h"

namespace chords_test {

class ChordsScreenTest : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A screen with every outlet connected to a fresh view of its kind, not yet
    // loaded; its start-up selection draws `draws` in order.
    std::unique_ptr<chords::ChordsViewController> makeScreen(std::deque<uint32_t> draws = {0, 0});
    // makeScreen, then viewDidLoad.
    std::unique_ptr<chords::ChordsViewController> loadScreen(std::deque<uint32_t> draws = {0, 0});

    // Selects a row as the user would.
    static void pickRoot(chords::ChordsViewController& screen, int64_t row);
    static void pickVariant(chords::ChordsViewController& screen, int64_t row);

    // The fingering the diagram's views show, read back from their pictures.
    chords::ChordShape drawnShape() const;
    // Names of the diagram views that show any picture.
    std::vector<std::string> viewsWithPictures() const;
    static std::string imageName(const platform::ImageRef& image) { return image ? image->name : ""; }

    int64_t chordsSearched() const { return defaults->integerForKey("chordsSearched"); }
    int64_t variantsSearched() const { return defaults->integerForKey("variantsSearched"); }

    // Upper bounds asked of the random source, in order.
    std::vector<uint32_t> randomBounds;
    int reviewRequests = 0;
    // The views of the last screen made, by outlet name.
    std::map<std::string, std::shared_ptr<platform::View>> views;

private:
    std::deque<uint32_t> draws_;
};

}  // namespace chords_test
