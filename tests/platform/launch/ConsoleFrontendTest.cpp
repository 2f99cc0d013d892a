#include "platform/launch/ConsoleFrontend.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/audio/PlaybackObserver.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Gauge.h"
#include "platform/ui/Image.h"
#include "tests/support/PlainPlatform.h"

namespace {

class ConsoleFrontendTest : public testing_support::PlainPlatformTest {
public:  // the cases below reach these through a reference to the fixture
    template <typename T>
    std::shared_ptr<T> element(const std::string& name) {
        auto view = std::make_shared<T>();
        view->setName(name);
        kept.push_back(view);
        return view;
    }

    // A delegate the console never calls.
    struct QuietDelegate : platform::ApplicationDelegate {
        const std::shared_ptr<platform::Window>& window() const override { return window_; }
        void setWindow(std::shared_ptr<platform::Window> window) override { window_ = std::move(window); }
        bool applicationDidFinishLaunchingWithOptions(platform::Application&,
                                                      const platform::LaunchOptionsDictionary&) override {
            return true;
        }
        void applicationWillResignActive(platform::Application&) override {}
        void applicationDidEnterBackground(platform::Application&) override {}
        void applicationWillEnterForeground(platform::Application&) override {}
        void applicationDidBecomeActive(platform::Application&) override {}
        void applicationWillTerminate(platform::Application&) override {}
        std::shared_ptr<platform::Window> window_;
    };

    std::ostringstream out;
    std::unique_ptr<platform::ConsoleFrontend> frontend;
    std::vector<std::shared_ptr<platform::View>> kept;  // the screen's elements live while it does
};

TEST_F(ConsoleFrontendTest, PrintsEachKindOfChangeInItsOwnForm) {
    const struct {
        std::function<void(ConsoleFrontendTest&)> change;
        std::string line;
    } cases[] = {
        {[](auto& t) { t.template element<platform::Label>("noteDisplay")->setText("A4"); }, "12.34 noteDisplay=\"A4\"\n"},
        {[](auto& t) { t.template element<platform::Label>("aboutMsg2")->setText("say \"hi\"\nbye"); },
         "12.34 aboutMsg2=\"say \\\"hi\\\"\\nbye\"\n"},
        {[](auto& t) { t.template element<platform::ImageView>("LEDDisplay")->setImage(platform::imageNamed("green64.png")); },
         "12.34 LEDDisplay=green64.png\n"},
        {[](auto& t) {
             auto lamp = t.template element<platform::ImageView>("LEDDisplay");
             lamp->setImage(platform::imageNamed("green64.png"));
             t.out.str("");
             t.frontend->endEvent(1.0);
             t.out.str("");
             lamp->setImage(nullptr);
         },
         "12.34 LEDDisplay=none\n"},
        {[](auto& t) { t.template element<platform::Button>("buttonFlatOrSharp")->setImage(platform::imageNamed("sharp.png")); },
         "12.34 buttonFlatOrSharp=sharp.png\n"},
        {[](auto& t) { t.template element<platform::ImageView>("tunedString5")->setHidden(true); },
         "12.34 tunedString5.hidden=yes\n"},
        {[](auto& t) {
             auto toggle = t.template element<platform::Switch>("soundNotificationSwitch");
             toggle->setOn(true);
             t.frontend->endEvent(1.0);
             t.out.str("");
             toggle->setOn(false);
         },
         "12.34 soundNotificationSwitch.on=no\n"},
        {[](auto& t) {
             auto slider = t.template element<platform::Slider>("micSensitivitySlider");
             slider->setRange(0, 10);
             slider->setValue(7.5f);
         },
         "12.34 micSensitivitySlider.value=7.5\n"},
        {[](auto& t) { t.template element<platform::Gauge>("guideNeedle")->setValue(-20.0f, "-20.0 cents, tune up"); },
         "12.34 guideNeedle.value=-20\n"},
        {[](auto& t) {
             auto needle = t.template element<platform::Gauge>("guideNeedle");
             needle->setValue(12.5f, "+12.5 cents, tune down");
             t.frontend->endEvent(1.0);
             t.out.str("");
             needle->setValue(std::nullopt, "no string near a course");
         },
         "12.34 guideNeedle.value=none\n"},
        {[](auto&) { platform::notifySoundStarted("beep-full.wav"); }, "12.34 play=beep-full.wav\n"},
    };
    for (const auto& c : cases) {
        frontend = std::make_unique<platform::ConsoleFrontend>(out);
        out.str("");
        c.change(*this);
        frontend->endEvent(12.34);
        EXPECT_EQ(out.str(), c.line);
        frontend.reset();
    }
}

TEST_F(ConsoleFrontendTest, PrintsOneLinePerEventThatChangedTheScreen) {
    frontend = std::make_unique<platform::ConsoleFrontend>(out);
    auto note = element<platform::Label>("noteDisplay");
    auto frequency = element<platform::Label>("freq_label");
    auto unnamed = std::make_shared<platform::Label>();

    frequency->setText("440.1Hz");
    note->setText("A4");
    frequency->setText("440Hz");
    unnamed->setText("not an outlet");
    platform::notifySoundStarted("beep-full.wav");
    frontend->endEvent(3.0);
    EXPECT_EQ(out.str(), "3.00 freq_label=\"440Hz\" noteDisplay=\"A4\" play=beep-full.wav\n");

    out.str("");
    frontend->endEvent(3.01);
    note->setText("E5");
    note->setText("A4");
    frontend->endEvent(3.02);
    unnamed->setText("still not");
    frontend->endEvent(3.03);
    EXPECT_EQ(out.str(), "") << "an event that left the screen as it was prints nothing";

    note->setText("");
    frontend->endEvent(4.5);
    EXPECT_EQ(out.str(), "4.50 noteDisplay=\"\"\n");
}

TEST_F(ConsoleFrontendTest, RunEndsEveryEventOfTheLoopAndStopsListeningAfterwards) {
    frontend = std::make_unique<platform::ConsoleFrontend>(out);
    auto note = element<platform::Label>("noteDisplay");
    auto picture = element<platform::ImageView>("tunedString5");
    note->setText("at launch");
    loop->performAfterDelay(0.5, [&] { note->setText("G4"); });
    loop->performAfterDelay(0.7, [] {});
    loop->performAfterDelay(1.25, [&] { picture->setHidden(true); });
    loop->performAfterDelay(3.0, [&] { note->setText("after the run"); });

    QuietDelegate delegate;
    EXPECT_EQ(frontend->run(*loop, delegate, 2.0), 0);
    EXPECT_EQ(out.str(), "0.00 noteDisplay=\"at launch\"\n0.50 noteDisplay=\"G4\"\n1.25 tunedString5.hidden=yes\n");
    EXPECT_DOUBLE_EQ(loop->elapsed(), 2.0);

    out.str("");
    advance(2.0);
    frontend->endEvent(loop->elapsed());
    EXPECT_EQ(out.str(), "4.00 noteDisplay=\"after the run\"\n") << "outside run() only an explicit end prints";
}

TEST_F(ConsoleFrontendTest, PutsBackTheObserversItReplaced) {
    bool heard = false;
    platform::setPlaybackObserver([&](const std::string&) { heard = true; });
    frontend = std::make_unique<platform::ConsoleFrontend>(out);
    frontend.reset();
    platform::notifySoundStarted("beep-full.wav");
    EXPECT_TRUE(heard);
    platform::setPlaybackObserver({});
}

}  // namespace
