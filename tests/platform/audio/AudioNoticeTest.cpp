// The standing audio notices: several at once in the order they came, each
// cleared by its own cause only, and what is said on stderr shown too.
#include <gtest/gtest.h>

#include "platform/audio/AudioNotice.h"
#include "platform/core/Installed.h"

namespace {

class AudioNoticeTest : public testing::Test {
protected:
    void TearDown() override { platform::resetInstalledServices(); }
};

TEST_F(AudioNoticeTest, NoticesStandTogetherOnceEachAndGoOneByOne) {
    std::vector<std::vector<std::string>> told;
    platform::setAudioNoticeObserver([&told](const std::vector<std::string>& notices) { told.push_back(notices); });
    platform::showAudioNotice("demo");
    platform::showAudioNotice("no output");
    platform::showAudioNotice("demo");
    platform::clearAudioNotice("something else");
    EXPECT_EQ(platform::audioNotices(), (std::vector<std::string>{"demo", "no output"}));
    platform::clearAudioNotice("demo");
    EXPECT_EQ(platform::audioNotices(), std::vector<std::string>{"no output"});
    EXPECT_EQ(told, (std::vector<std::vector<std::string>>{{}, {"demo"}, {"demo", "no output"}, {"no output"}}))
        << "told at once, then only of real changes";
}

TEST_F(AudioNoticeTest, WhatIsSaidOnStderrIsShownAsASentence) {
    testing::internal::CaptureStderr();
    const std::string shown = platform::tellOnStderrAndInWindow("the audio input cannot start: busy");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "pallqa-tuner: the audio input cannot start: busy\n");
    EXPECT_EQ(shown, "The audio input cannot start: busy");
    EXPECT_EQ(platform::audioNotices(), std::vector<std::string>{shown});
}

}  // namespace
