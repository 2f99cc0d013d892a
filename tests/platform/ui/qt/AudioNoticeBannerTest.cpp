// The audio notice as the window shows it: a strip over the screen that
// appears, changes and goes with the notice, whichever thread sets it.

#include <gtest/gtest.h>

#include <QLabel>
#include <thread>

#include "platform/audio/AudioNotice.h"
#include "platform/core/Device.h"
#include "tests/platform/ui/qt/QtWindowFixture.h"

namespace {

class AudioNoticeBannerTest : public qt_window_testing::QtWindowTest {
protected:
    void TearDown() override {
        frontend.reset();
        platform::setAudioNotice("");
        QtWindowTest::TearDown();
    }

    void openTuner() { tuner_ = open("Main_iPhone12Pro", platform::Device::kIdiomPhone, 844); }
    const QLabel* strip() const { return frontend->notice()->label(); }

    std::shared_ptr<qt_window_testing::RecordingController> tuner_;
};

TEST_F(AudioNoticeBannerTest, ANoticeStandingWhenTheWindowOpensIsShownAcrossTheTop) {
    platform::setAudioNotice("No microphone found: you are hearing a demo recording");
    openTuner();
    ASSERT_TRUE(strip()->isVisible());
    EXPECT_EQ(strip()->text().toStdString(), "No microphone found: you are hearing a demo recording");
    EXPECT_EQ(strip()->width(), frontend->window()->width());
    EXPECT_EQ(strip()->y(), 0);
}

TEST_F(AudioNoticeBannerTest, ANoticeSetOnAnotherThreadAppearsAndGoesWithIt) {
    openTuner();
    EXPECT_FALSE(strip()->isVisible());

    std::thread([] { platform::setAudioNotice("Microphone lost \u2014 reconnecting\u2026"); }).join();
    settle();
    EXPECT_TRUE(strip()->isVisible());
    EXPECT_EQ(strip()->text().toStdString(), "Microphone lost \u2014 reconnecting\u2026");

    // Another cause's clearing leaves it standing; its own clearing removes it.
    platform::clearAudioNotice("something else");
    settle();
    EXPECT_TRUE(strip()->isVisible());
    std::thread([] { platform::clearAudioNotice("Microphone lost \u2014 reconnecting\u2026"); }).join();
    settle();
    EXPECT_FALSE(strip()->isVisible());
}

}  // namespace
