// The audio session keeps what it is told, and a failing call changes nothing.
#include <gtest/gtest.h>

#include "platform/audio/AudioSession.h"

namespace {

using platform::AudioSession;

TEST(PlatformAudioSession, KeepsCategoryOptionsModeAndActivity) {
    AudioSession session;
    EXPECT_EQ(session.category(), platform::kAudioSessionCategorySoloAmbient);
    EXPECT_EQ(session.mode(), platform::kAudioSessionModeDefault);
    EXPECT_FALSE(session.isActive());

    EXPECT_FALSE(session.setCategory(platform::kAudioSessionCategoryPlayAndRecord,
                                     platform::kAudioSessionCategoryOptionDefaultToSpeaker));
    EXPECT_FALSE(session.setMode(platform::kAudioSessionModeMeasurement));
    EXPECT_FALSE(session.setActive(true));
    EXPECT_EQ(session.category(), platform::kAudioSessionCategoryPlayAndRecord);
    EXPECT_EQ(session.categoryOptions(), platform::kAudioSessionCategoryOptionDefaultToSpeaker);
    EXPECT_EQ(session.mode(), platform::kAudioSessionModeMeasurement);
    EXPECT_TRUE(session.isActive());
}

TEST(PlatformAudioSession, AFailingCallSaysWhyAndChangesNothing) {
    AudioSession session;
    session.setFailure(AudioSession::Call::SetCategory, "no category today");
    session.setFailure(AudioSession::Call::SetMode, "no mode today");
    session.setFailure(AudioSession::Call::SetActive, "no activity today");

    const auto categoryError = session.setCategory(platform::kAudioSessionCategoryPlayback);
    const auto modeError = session.setMode(platform::kAudioSessionModeMeasurement);
    const auto activeError = session.setActive(true);
    ASSERT_TRUE(categoryError && modeError && activeError);
    EXPECT_EQ(categoryError->localizedDescription, "no category today");
    EXPECT_EQ(modeError->localizedDescription, "no mode today");
    EXPECT_EQ(activeError->localizedDescription, "no activity today");
    EXPECT_EQ(session.category(), platform::kAudioSessionCategorySoloAmbient);
    EXPECT_EQ(session.mode(), platform::kAudioSessionModeDefault);
    EXPECT_FALSE(session.isActive());

    session.setFailure(AudioSession::Call::SetActive, std::nullopt);
    EXPECT_FALSE(session.setActive(true));
    EXPECT_TRUE(session.isActive());
}

}  // namespace
