// The tuning fork's buttons as a layout connects them: the notes, the stop
// button's state table, and the settings key that marks the fork in use.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/audio/AudioOutputUnit.h"
#include "platform/ui/Controls.h"
#include "sound/ToneGenerator.h"
#include "sound/ToneOscillators.h"
#include "sound/TuningFork.h"
#include "tests/sound/ToneRendering.h"
#include "tests/support/PlainPlatform.h"

namespace {

using sound::TuningFork;

class TuningForkTest : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override {
        PlainPlatformTest::SetUp();
        sound::restartToneOscillators();
        // What the tuner screen does each time it appears.
        generator.setCurTone(sound::ToneGenerator::kTriangle);
        generator.setupAudio();
        fork.setCurPlayState(TuningFork::kStopped);
        unit = dynamic_cast<platform::PlainAudioOutputUnit*>(sound::ToneGenerator::toneUnit());
        ASSERT_NE(unit, nullptr);
    }
    void TearDown() override {
        sound::restartToneOscillators();
        PlainPlatformTest::TearDown();
    }

    // A button connected to the fork's action `selector`, tapped.
    void tap(const std::string& selector) {
        const auto actions = fork.actions();
        ASSERT_TRUE(actions.contains(selector)) << selector;
        platform::Button button;
        button.addTarget(actions.at(selector));
        button.userTap();
    }

    // The left channel of the next frames the sound card would get.
    std::vector<int16_t> pull(uint32_t frameCount) {
        std::vector<int16_t> samples(size_t{frameCount} * 2);
        platform::AudioBuffer buffer{2, frameCount * 4, samples.data()};
        EXPECT_EQ(unit->render(frameCount, platform::AudioBufferList(&buffer, 1)), platform::kAudioNoError);
        std::vector<int16_t> left;
        for (size_t i = 0; i < samples.size(); i += 2) left.push_back(samples[i]);
        return left;
    }

    static bool silent(const std::vector<int16_t>& samples) {
        return std::all_of(samples.begin(), samples.end(), [](int16_t s) { return s == 0; });
    }

    std::shared_ptr<platform::Label> tfnoteDisplay = std::make_shared<platform::Label>();
    std::shared_ptr<platform::Label> tfFreqLabel = std::make_shared<platform::Label>();
    sound::ToneGenerator generator;
    TuningFork fork{tfnoteDisplay, tfFreqLabel};
    platform::PlainAudioOutputUnit* unit = nullptr;
};

TEST_F(TuningForkTest, EachNoteShowsItsNameAndPlaysItsPitch) {
    struct Note {
        const char* selector;
        void (TuningFork::*action)(platform::Control*);
        const char* name;
        const char* frequencyText;
        double frequency;  // as the single-precision pitch holds it
    };
    const Note notes[] = {
        {"playE659_3Hz:", &TuningFork::playE659_3Hz, "E5", "659.3Hz", 659.2999877929688},
        {"playA440Hz:", &TuningFork::playA440Hz, "A4", "440Hz", 440.0},
        {"playE329_6Hz:", &TuningFork::playE329_6Hz, "E4", "329.6Hz", 329.6000061035156},
        {"playC523_2Hz:", &TuningFork::playC523_2Hz, "C5", "523.2Hz", 523.2000122070312},
        {"playG392Hz:", &TuningFork::playG392Hz, "G4", "392Hz", 392.0},
    };
    for (const Note& note : notes) {
        for (const bool byButton : {true, false}) {
            SCOPED_TRACE(std::string(note.selector) + (byButton ? " by button" : " called"));
            fork.stopFreqPlay(nullptr);
            sound::toneFrequency = 0.0f;
            tfnoteDisplay->setText("");
            tfFreqLabel->setText("");
            if (byButton) {
                tap(note.selector);
            } else {
                (fork.*note.action)(nullptr);
            }
            EXPECT_EQ(tfnoteDisplay->text(), note.name);
            EXPECT_EQ(tfFreqLabel->text(), note.frequencyText);
            EXPECT_EQ(static_cast<double>(sound::toneFrequency.load()), note.frequency);
            EXPECT_EQ(fork.curPlayState(), TuningFork::kPlaying);
            EXPECT_TRUE(unit->isRunning());
        }
    }
}

TEST_F(TuningForkTest, PlayStateTable) {
    enum class Event { Note, Stop };
    struct Row {
        const char* what;
        int64_t state;
        bool unitRunning;
        Event event;
        int64_t nextState;
        bool nextUnitRunning;
    };
    const Row rows[] = {
        {"stopped, note", TuningFork::kStopped, false, Event::Note, TuningFork::kPlaying, true},
        {"playing, note", TuningFork::kPlaying, true, Event::Note, TuningFork::kPlaying, true},
        {"playing, stop", TuningFork::kPlaying, true, Event::Stop, TuningFork::kStopped, false},
        {"stopped, stop", TuningFork::kStopped, false, Event::Stop, TuningFork::kStopped, false},
        // Stop goes by the play state alone: a stopped fork does not touch the unit.
        {"stopped, stop, unit running", TuningFork::kStopped, true, Event::Stop, TuningFork::kStopped, true},
    };
    for (const Row& row : rows) {
        fork.setCurPlayState(row.state);
        row.unitRunning ? unit->start() : unit->stop();
        tap(row.event == Event::Note ? "playA440Hz:" : "stopFreqPlay:");
        EXPECT_EQ(fork.curPlayState(), row.nextState) << row.what;
        EXPECT_EQ(unit->isRunning(), row.nextUnitRunning) << row.what;
    }
}

TEST_F(TuningForkTest, StopBeforeAnyNoteDoesNothing) {
    tap("stopFreqPlay:");
    EXPECT_EQ(fork.curPlayState(), TuningFork::kStopped);
    EXPECT_FALSE(unit->isRunning());
    EXPECT_EQ(tfnoteDisplay->text(), "");
    EXPECT_TRUE(silent(pull(64)));
    EXPECT_EQ(sound::toneOscillators.sinePhase, 0.0);
}

TEST_F(TuningForkTest, StopTwiceStopsOnce) {
    tap("playG392Hz:");
    EXPECT_FALSE(silent(pull(64)));
    tap("stopFreqPlay:");
    EXPECT_TRUE(silent(pull(64)));
    const double phase = sound::toneOscillators.sinePhase;
    tap("stopFreqPlay:");
    EXPECT_EQ(fork.curPlayState(), TuningFork::kStopped);
    EXPECT_TRUE(silent(pull(64)));
    EXPECT_EQ(sound::toneOscillators.sinePhase, phase);
    // The oscillators run on from where they stopped.
    tap("playG392Hz:");
    EXPECT_FALSE(silent(pull(1)));
    EXPECT_NE(sound::toneOscillators.sinePhase, phase);
}

TEST_F(TuningForkTest, SecondNoteWhilePlayingOnlyChangesThePitch) {
    tap("playE659_3Hz:");
    pull(500);
    // The frame E5 would have rendered next, on a copy of the oscillators.
    const sound::ToneOscillators atChange = sound::toneOscillators;
    const int16_t nextAtE5 = sound_tests::renderTone(generator, 1).front();
    sound::toneOscillators = atChange;

    tap("playA440Hz:");
    EXPECT_EQ(tfnoteDisplay->text(), "A4");
    EXPECT_EQ(tfFreqLabel->text(), "440Hz");
    EXPECT_TRUE(unit->isRunning());
    EXPECT_EQ(pull(1).front(), nextAtE5) << "no break and no jump in phase";
    EXPECT_EQ(sound::toneOscillators.phaseIncrement, static_cast<double>(440.0f / 44100.0f));
}

TEST_F(TuningForkTest, LayoutWithoutTheLabelsStillPlays) {
    std::shared_ptr<platform::Label> none;
    TuningFork bare(none, none);
    bare.playC523_2Hz(nullptr);
    EXPECT_TRUE(unit->isRunning());
    EXPECT_FLOAT_EQ(sound::toneFrequency.load(), 523.2f);
}

TEST_F(TuningForkTest, MarkingTheForkInUseIsStoredAndLogged) {
    EXPECT_FALSE(defaults->objectForKey("currentlyUsingTuningFork").has_value());
    tap("disableTemporarilySoundConfirmation:");
    EXPECT_EQ(defaults->integerForKey("currentlyUsingTuningFork"), 1);
    tap("enableSoundConfirmation:");
    EXPECT_EQ(defaults->integerForKey("currentlyUsingTuningFork"), 0);
    EXPECT_EQ(log->lines(), (std::vector<std::string>{"Tuning fork is enabled: 1", "Tuning fork is enabled: 0"}));
}

}  // namespace
