#include "tests/chords/ChordsScreenFixture.h"

#include <algorithm>

#include "platform/ui/Image.h"

namespace chords_test {
namespace {

// A view of whichever kind the outlet takes.
std::shared_ptr<platform::View> connect(const platform::OutletBinder& binder) {
    const std::vector<std::shared_ptr<platform::View>> candidates = {
        std::make_shared<platform::ImageView>(), std::make_shared<platform::Label>(),
        std::make_shared<platform::Button>(), std::make_shared<platform::PickerView>()};
    for (const auto& view : candidates) {
        if (binder(view)) return view;
    }
    return nullptr;
}

}  // namespace

void ChordsScreenTest::SetUp() {
    PlainPlatformTest::SetUp();
    chords::flatSpelling = false;
}

void ChordsScreenTest::TearDown() {
    chords::flatSpelling = false;
    PlainPlatformTest::TearDown();
}

std::unique_ptr<chords::ChordsViewController> ChordsScreenTest::makeScreen(std::deque<uint32_t> draws) {
    draws_ = std::move(draws);
    auto screen = std::make_unique<chords::ChordsViewController>(
        [this](uint32_t upperBound) {
            randomBounds.push_back(upperBound);
            if (draws_.empty()) {
                ADD_FAILURE() << "more random draws than scripted";
                return 0u;
            }
            const uint32_t value = draws_.front();
            draws_.pop_front();
            return value;
        },
        [this] { ++reviewRequests; });
    views.clear();
    for (const auto& [name, binder] : screen->outlets()) {
        auto view = connect(binder);
        if (!view) {
            ADD_FAILURE() << "outlet " << name << " takes no known kind of view";
            continue;
        }
        view->setName(name);
        views[name] = view;
    }
    return screen;
}

std::unique_ptr<chords::ChordsViewController> ChordsScreenTest::loadScreen(std::deque<uint32_t> draws) {
    auto screen = makeScreen(std::move(draws));
    screen->viewDidLoad();
    return screen;
}

void ChordsScreenTest::pickRoot(chords::ChordsViewController& screen, int64_t row) {
    screen.selectRootChord->userSelectRow(row, 0);
}

void ChordsScreenTest::pickVariant(chords::ChordsViewController& screen, int64_t row) {
    screen.selectVariant->userSelectRow(row, 0);
}

chords::ChordShape ChordsScreenTest::drawnShape() const {
    chords::ChordShape shape;
    for (int string = 1; string <= 5; ++string) {
        const auto& status = dynamic_cast<platform::ImageView&>(*views.at("string" + std::to_string(string) + "Status"));
        const auto picture = imageName(status.image());
        if (picture == "circle.png") shape.status[static_cast<size_t>(string - 1)] = chords::StringStatus::Open;
        if (picture == "x.png") shape.status[static_cast<size_t>(string - 1)] = chords::StringStatus::Muted;
        for (int fret = 1; fret <= 4; ++fret) {
            const auto& dot = dynamic_cast<platform::ImageView&>(
                *views.at("Str" + std::to_string(string) + "Fr" + std::to_string(fret)));
            if (imageName(dot.image()) == "dot.png") shape.dots.push_back({string, fret});
        }
    }
    for (int fret = 1; fret <= 4; ++fret) {
        const auto& bar = dynamic_cast<platform::ImageView&>(*views.at("BarFr" + std::to_string(fret)));
        if (imageName(bar.image()) == "bar.png") {
            EXPECT_FALSE(shape.barreFret) << "two barres drawn";
            shape.barreFret = fret;
        }
    }
    return shape;
}

std::vector<std::string> ChordsScreenTest::viewsWithPictures() const {
    std::vector<std::string> names;
    for (const auto& [name, view] : views) {
        if (auto image = std::dynamic_pointer_cast<platform::ImageView>(view); image && image->image()) {
            names.push_back(name);
        }
    }
    return names;
}

}  // namespace chords_test
