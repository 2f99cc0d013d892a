// The audio notice as the window shows it: a strip over the screen that
// appears, changes and goes with the notice, whichever thread sets it.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <thread>

#include "platform/audio/AudioNotice.h"
#include "platform/launch/ApplicationMainOptions.h"
#include "platform/ui/qt/WindowFrontend.h"
#include "tests/platform/ui/LayoutControllers.h"
#include "tests/support/PlainPlatform.h"

namespace {

class AudioNoticeBannerTest : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override {
        PlainPlatformTest::SetUp();
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        platform::DeviceDescription device;
        device.userInterfaceIdiom = platform::Device::kIdiomPhone;
        device.screenHeight = 844;
        device.screenWidth = platform::screenWidthFor(device.userInterfaceIdiom, device.screenHeight);
        platform::Device::setCurrent(device);
        tuner_ = layout_testing::installLayout("Main_iPhone12Pro");
        frontend_ = std::make_unique<platform::ui::qt::WindowFrontend>();
    }
    void TearDown() override {
        frontend_.reset();
        platform::setAudioNotice("");
        PlainPlatformTest::TearDown();
    }

    static void settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    const QLabel* strip() const { return frontend_->notice()->label(); }

    std::shared_ptr<layout_testing::RecordingController> tuner_;
    std::unique_ptr<platform::ui::qt::WindowFrontend> frontend_;
};

TEST_F(AudioNoticeBannerTest, ANoticeStandingWhenTheWindowOpensIsShownAcrossTheTop) {
    platform::setAudioNotice("No microphone found: you are hearing a demo recording");
    frontend_->show();
    settle();
    ASSERT_TRUE(strip()->isVisible());
    EXPECT_EQ(strip()->text().toStdString(), "No microphone found: you are hearing a demo recording");
    EXPECT_EQ(strip()->width(), frontend_->window()->width());
    EXPECT_EQ(strip()->y(), 0);
}

TEST_F(AudioNoticeBannerTest, ANoticeSetOnAnotherThreadAppearsAndGoesWithIt) {
    frontend_->show();
    settle();
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
