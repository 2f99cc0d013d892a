#include "tests/tuner/TunerScreenFixture.h"

#include "platform/ui/Controls.h"
#include "platform/ui/Gauge.h"
#include "platform/ui/Trace.h"

namespace tuner_tests {
namespace {

// Gives the outlet a fresh element of whichever kind it takes.
template <typename... Kinds>
bool bindFresh(const std::string& name, const platform::OutletBinder& binder) {
    const auto tryKind = [&](auto element) {
        element->setName(name);
        return binder(element);
    };
    return (tryKind(std::make_shared<Kinds>()) || ...);
}

}  // namespace

std::shared_ptr<tuner::ViewController> TunerScreenTest::makeScreen(std::shared_ptr<tuner::PitchInput> pitchInput) {
    auto screen = std::make_shared<tuner::ViewController>([this] { ++reviewRequests; },
                                                          pitchInput ? std::move(pitchInput) : input, confirmations,
                                                          guideInput);
    for (const auto& [name, binder] : screen->outlets()) {
        EXPECT_TRUE((bindFresh<platform::Label, platform::Slider, platform::Switch, platform::Button,
                               platform::ImageView, platform::Trace, platform::Gauge>(name, binder)))
            << name;
    }
    screen->micSensitivitySlider->setRange(0.0f, 10.0f);
    screen->micSensitivitySlider->setValue(5.0f);
    for (const auto& settingSwitch :
         {screen->soundNotificationSwitch, screen->stringSoundsSwitch, screen->freqChartSwitch}) {
        settingSwitch->setOn(true);
    }
    // The row of courses beside the guide, as every layout has it: Auto, then courses 1 to 5.
    courseButtons.clear();
    for (int64_t tag = 0; tag <= 5; ++tag) {
        auto button = std::make_shared<platform::Button>();
        button->setTag(tag);
        button->addTarget(screen->actions().at("chooseCourse:"), "chooseCourse:");
        screen->view()->addSubview(button);
        courseButtons.push_back(std::move(button));
    }
    screen->viewDidLoad();
    return screen;
}

std::shared_ptr<tuner::ViewController> TunerScreenTest::makeAppearedScreen() {
    auto screen = makeScreen();
    screen->viewWillAppear(false);
    return screen;
}

std::string TunerScreenTest::pictureIn(const std::shared_ptr<platform::ImageView>& view) {
    return view && view->image() ? view->image()->name : std::string();
}

std::vector<double> TunerScreenTest::startsOf(const std::string& fileName) {
    std::vector<double> starts;
    for (const auto& sound : platform::PlainAudioPlayer::played()) {
        if (sound.fileName == fileName) starts.push_back(sound.startedAt);
    }
    return starts;
}

}  // namespace tuner_tests
