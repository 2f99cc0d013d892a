// The program on its live path — the microphone and the loudspeaker through
// PortAudio — against a private sound server: plucks played into the virtual
// microphone, the speaker's output recorded from its monitor, the server
// killed and started again under a running tuner.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/desktop/PortAudioPlayer.h"
#include "platform/audio/desktop/RecordingStream.h"
#include "platform/core/RunLoop.h"
#include "sound/TuningFork.h"
#include "tests/app/LiveProcess.h"
#include "tests/support/PlainPlatform.h"
#include "tests/support/SoundServer.h"

namespace {

namespace fs = std::filesystem;
using live_testing::LiveProcess;
using namespace std::chrono_literals;

constexpr double kMonitorRate = 44100.0;
// Above the server's dither and below any sound the program plays.
constexpr int kSoundThreshold = 200;
// The first 10 ms of a sound, compared with what the speaker played, to
// within the server's and the decoder's roundings.
constexpr size_t kOnsetSamples = 441;
constexpr int kOnsetTolerance = 64;
// A sound reaches the speaker whole, from its first sample to its last, but
// for a sample or two that the server's rounding takes across the threshold.
// (A new stream through ALSA's pulse plugin loses its first 40 to 140 ms, and
// a stream closed too soon its last: both cut-offs are far longer.)
constexpr size_t kRoundingSamples = 8;

// The five courses' recordings, one after another, as a musician tunes.
constexpr const char* kCourseRecordings[] = {"1_2_6_E5.mp3", "3_4_A4.mp3", "5_E4.mp3", "7_8_C5.mp3",
                                             "9_10_G4.mp3"};
// A note that rings while the server is killed, and again once it is back.
constexpr const char* kOneNote[] = {"3_4_A4.mp3"};

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

class LiveAudioTest : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(testing_support::temporaryFolder()); }

    fs::path file(const char* name) const { return folder_ / name; }

    // The program with its settings in this test's folder. Under the leak
    // checker the audio libraries' own process-long caches are not counted.
    std::string program(const std::string& arguments) const {
        return "XDG_CONFIG_HOME=" + quoted(folder_ / "config") + " XDG_STATE_HOME=" + quoted(folder_ / "state") +
               " LSAN_OPTIONS=suppressions='" PALLQA_LIVE_LEAK_SUPPRESSIONS "' '" PALLQA_PROGRAM "' " + arguments;
    }

    // Plays resources into the virtual microphone, one after another.
    std::string playIntoMicrophone(std::span<const char* const> names) const {
        std::string command;
        for (const char* name : names) {
            command += "paplay -d microphone_feed " + quoted(testing_support::resourcesFolder() / name) + "; ";
        }
        return command;
    }

    // What the loudspeaker plays, as 16-bit mono samples at 44.1 kHz.
    std::string recordSpeaker() const {
        return "exec parec -d speaker.monitor --latency-msec=20 --channels=1 --format=s16le --rate=44100";
    }

    // The server's playback streams, one line each: index, sink, client ...
    static std::string playbackStreams() { return live_testing::commandOutput("pactl list short sink-inputs"); }

    // The indices of the playback streams a `pactl subscribe` saw come
    // ("new") or go ("remove"), in order.
    std::vector<std::string> streamEvents(const char* kind) const {
        const std::string events = live_testing::readText(file("events.out"));
        const std::string marker = std::string("Event '") + kind + "' on sink-input #";
        std::vector<std::string> indices;
        for (size_t at = events.find(marker); at != std::string::npos; at = events.find(marker, at + 1)) {
            const size_t index = at + marker.size();
            indices.push_back(events.substr(index, events.find_first_not_of("0123456789", index) - index));
        }
        return indices;
    }

    // A sound file as the speaker plays it: 16-bit mono samples at 44.1 kHz.
    static std::vector<int16_t> samplesOf(const fs::path& path) {
        std::string error;
        const auto recording = platform::audio::desktop::RecordingStream::open(path, kMonitorRate, error);
        EXPECT_NE(recording, nullptr) << path << ": " << error;
        std::vector<int16_t> samples;
        std::vector<int16_t> piece(4096);
        while (recording) {
            const size_t count = recording->read(piece);
            if (count == 0) break;
            samples.insert(samples.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(count));
        }
        return samples;
    }

    // Whether `speaker`, a recording of `sound` being played, has it from its start.
    static void expectWholeStart(const std::vector<int16_t>& speaker, const std::vector<int16_t>& sound,
                                 const fs::path& name) {
        const auto missing =
            live_testing::missingStart(speaker, sound, kSoundThreshold, kOnsetSamples, kOnsetTolerance);
        ASSERT_TRUE(missing.has_value()) << "the speaker played something else than " << name;
        EXPECT_LE(*missing, kRoundingSamples) << "the start of " << name << " was cut off";
    }

    // Whether `speaker` ends with the whole of `sound`, the last thing played,
    // from its first sample to its last.
    static void expectWhole(const std::vector<int16_t>& speaker, const fs::path& sound) {
        const auto played = samplesOf(sound);
        expectWholeStart(speaker, played, sound);
        const auto missing =
            live_testing::missingEnd(speaker, played, kSoundThreshold, kOnsetSamples, kOnsetTolerance);
        ASSERT_TRUE(missing.has_value()) << "the speaker ended with something else than " << sound;
        EXPECT_LE(*missing, kRoundingSamples) << "the end of " << sound << " was cut off";
    }

    std::unique_ptr<testing_support::SoundServer> server_;
    const fs::path folder_ = testing_support::temporaryFolder();
};

class MicrophoneRateTest : public LiveAudioTest, public ::testing::WithParamInterface<int> {};

TEST_P(MicrophoneRateTest, PlucksOfAllFiveCoursesAreMatchedAndBeepOnTheSpeaker) {
    PALLQA_REQUIRE_SOUND_SERVER(server_, GetParam());
    LiveProcess recorder(recordSpeaker(), file("speaker.raw"), file("recorder.err"));
    LiveProcess tuner(program("--headless --seconds 16"), file("tuner.out"), file("tuner.err"));
    // The tuner listens before the first pluck.
    ASSERT_NE(live_testing::waitForText(file("tuner.out"), "currentTuningName", 0, 10s), std::string::npos)
        << live_testing::readText(file("tuner.err"));
    LiveProcess player(playIntoMicrophone(kCourseRecordings), file("player.out"), file("player.err"));
    EXPECT_EQ(tuner.wait(), 0) << live_testing::readText(file("tuner.err"));
    recorder.stop();

    const std::string screen = live_testing::readText(file("tuner.out"));
    for (const char* note : {"E5", "A4", "E4", "C5", "G4"}) {
        EXPECT_NE(screen.find(std::string("noteDisplay=\"") + note + "\""), std::string::npos) << note << "\n" << screen;
    }
    EXPECT_NE(screen.find("play=beep-full.wav"), std::string::npos) << screen;
    // The beep reached the loudspeaker: the only sound it plays in this run.
    const auto speaker = live_testing::readRawSamples(file("speaker.raw"));
    EXPECT_GT(live_testing::soundingSeconds(speaker, kMonitorRate, kSoundThreshold), 0.1);
}

// The server's default rate, and a microphone at 48 kHz as many sound cards run.
INSTANTIATE_TEST_SUITE_P(Rates, MicrophoneRateTest, ::testing::Values(44100, 48000));

// The output is opened only to play: listening, with the tuning fork and the
// beep ready, the program holds no playback stream; the beep opens one, which
// is gone soon after the beep ends, and the beep reaches the speaker from its
// very first samples.
TEST_F(LiveAudioTest, TheOutputIsOpenOnlyWhileTheBeepSoundsAndTheBeepStartsWhole) {
    PALLQA_REQUIRE_SOUND_SERVER(server_, 44100);
    LiveProcess recorder(recordSpeaker(), file("speaker.raw"), file("recorder.err"));
    LiveProcess tuner(program("--headless --seconds 10"), file("tuner.out"), file("tuner.err"));
    ASSERT_NE(live_testing::waitForText(file("tuner.out"), "currentTuningName", 0, 10s), std::string::npos)
        << live_testing::readText(file("tuner.err"));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(playbackStreams(), "") << "an output is open while nothing plays";

    LiveProcess events("exec pactl subscribe", file("events.out"), file("events.err"));
    std::this_thread::sleep_for(300ms);  // subscribed before anything plays
    LiveProcess player(playIntoMicrophone(kOneNote), file("player.out"), file("player.err"));
    // The feed's stream comes first; the beep needs a pluck heard first.
    ASSERT_TRUE(live_testing::waitUntil([&] { return !streamEvents("new").empty(); }, 5s));
    const std::string feed = streamEvents("new").front();
    std::string beep;
    const auto beepOpened = [&] {
        for (const std::string& index : streamEvents("new")) {
            if (index != feed) beep = index;
        }
        return !beep.empty();
    };
    ASSERT_TRUE(live_testing::waitUntil(beepOpened, 8s)) << live_testing::readText(file("tuner.out"));
    EXPECT_NE(live_testing::waitForText(file("tuner.out"), "play=beep-full.wav", 0, 1s), std::string::npos);
    // The beep lasts 0.3 s; its stream goes within a second of its end (with
    // room for a loaded machine), long before the tuner ends.
    const auto beepClosed = [&] {
        const auto removed = streamEvents("remove");
        return std::find(removed.begin(), removed.end(), beep) != removed.end();
    };
    EXPECT_TRUE(live_testing::waitUntil(beepClosed, 3s)) << live_testing::readText(file("events.out"));
    EXPECT_EQ(tuner.wait(), 0) << live_testing::readText(file("tuner.err"));
    recorder.stop();

    const auto speaker = live_testing::readRawSamples(file("speaker.raw"));
    expectWhole(speaker, testing_support::resourcesFolder() / "beep-full.wav");
}

struct ToneCase {
    const char* note;
    double seconds;
};

class ToneOnTheSpeakerTest : public LiveAudioTest, public ::testing::WithParamInterface<ToneCase> {};

TEST_P(ToneOnTheSpeakerTest, TheToneSoundsAtItsPitchForAsLongAsAsked) {
    PALLQA_REQUIRE_SOUND_SERVER(server_, 44100);
    const ToneCase tone = GetParam();
    LiveProcess recorder(recordSpeaker(), file("speaker.raw"), file("recorder.err"));
    std::this_thread::sleep_for(300ms);  // the recorder is connected before the tone starts
    LiveProcess command(program("tone " + std::string(tone.note) + " --seconds " + std::to_string(tone.seconds)),
                        file("tone.out"), file("tone.err"));
    EXPECT_EQ(command.wait(), 0) << live_testing::readText(file("tone.err"));
    std::this_thread::sleep_for(300ms);  // the last of it reaches the monitor
    recorder.stop();

    const auto speaker = live_testing::readRawSamples(file("speaker.raw"));
    const double expected = sound::TuningFork::noteNamed(tone.note)->frequency;
    // All of it, and the little more that was rendered before the command saw
    // it had handed over enough: a device buffer or two.
    const double heard = live_testing::periodSeconds(speaker, expected, kSoundThreshold);
    EXPECT_GE(heard, tone.seconds - 0.01);
    EXPECT_LE(heard, tone.seconds + 0.1);
    EXPECT_NEAR(live_testing::zeroCrossingFrequency(speaker, kMonitorRate, kSoundThreshold), expected,
                expected * 0.005);
    // The output opened as the tone started, and played it from its first samples.
    LiveProcess writer(program("tone " + std::string(tone.note) + " --seconds 0.1 --out " + quoted(file("tone.wav"))),
                       file("writer.out"), file("writer.err"));
    ASSERT_EQ(writer.wait(), 0) << live_testing::readText(file("writer.err"));
    expectWholeStart(speaker, samplesOf(file("tone.wav")), file("tone.wav"));
}

INSTANTIATE_TEST_SUITE_P(Notes, ToneOnTheSpeakerTest,
                         ::testing::Values(ToneCase{"E4", 2.0}, ToneCase{"A4", 0.5}, ToneCase{"G4", 1.0}),
                         [](const auto& tested) { return std::string(tested.param.note); });

TEST_F(LiveAudioTest, AStringSoundReachesTheSpeakerWhole) {
    PALLQA_REQUIRE_SOUND_SERVER(server_, 44100);
    LiveProcess recorder(recordSpeaker(), file("speaker.raw"), file("recorder.err"));
    std::this_thread::sleep_for(300ms);  // the recorder is connected before the sound starts
    {
        const auto player = platform::audio::desktop::makePortAudioPlayer(testing_support::resourcesFolder() / "3_4_A4.mp3");
        ASSERT_NE(player, nullptr);
        player->play();
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (player->isPlaying() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(10ms);
        EXPECT_FALSE(player->isPlaying()) << "the sound never ended";
        // The main run loop closes the ended sound's stream while the player lives on.
        platform::RunLoop::main()->run(1.0);
        EXPECT_EQ(playbackStreams(), "");
    }
    std::this_thread::sleep_for(300ms);  // the last of it reaches the monitor
    recorder.stop();

    const auto speaker = live_testing::readRawSamples(file("speaker.raw"));
    // The 2.5 s pluck rings most of its length above the threshold, at the A4 it tunes.
    EXPECT_GT(live_testing::soundingSeconds(speaker, kMonitorRate, kSoundThreshold), 1.5);
    EXPECT_NEAR(live_testing::zeroCrossingFrequency(speaker, kMonitorRate, kSoundThreshold), 440.0, 440.0 * 0.02);
    expectWhole(speaker, testing_support::resourcesFolder() / "3_4_A4.mp3");
}

TEST_F(LiveAudioTest, AServerKilledMidNoteClearsTheScreenAndTheTunerResumesWhenItIsBack) {
    PALLQA_REQUIRE_SOUND_SERVER(server_, 44100);
    LiveProcess tuner(program("--headless --seconds 20"), file("tuner.out"), file("tuner.err"));
    ASSERT_NE(live_testing::waitForText(file("tuner.out"), "currentTuningName", 0, 10s), std::string::npos);
    size_t seen;
    {
        LiveProcess player(playIntoMicrophone(kOneNote), file("player.out"), file("player.err"));
        seen = live_testing::waitForText(file("tuner.out"), "noteDisplay=\"A4\"", 0, 5s);
        ASSERT_NE(seen, std::string::npos) << live_testing::readText(file("tuner.out"));
        // Mid-note: the A4 rings on in the microphone when the server dies.
        server_->kill();
    }
    // The screen clears within moments rather than showing the last note for good.
    seen = live_testing::waitForText(file("tuner.out"), "noteDisplay=\"\"", seen, 1s);
    EXPECT_NE(seen, std::string::npos) << live_testing::readText(file("tuner.out"));
    EXPECT_NE(live_testing::waitForText(file("tuner.err"), "the microphone is lost", 0, 1s), std::string::npos);

    std::this_thread::sleep_for(2s);  // a few reconnection attempts fail meanwhile
    ASSERT_TRUE(server_->restart());
    EXPECT_NE(live_testing::waitForText(file("tuner.err"), "the microphone is back", 0, 5s), std::string::npos)
        << live_testing::readText(file("tuner.err"));
    {
        LiveProcess player(playIntoMicrophone(kOneNote), file("player.out"), file("player.err"));
        EXPECT_NE(live_testing::waitForText(file("tuner.out"), "noteDisplay=\"A4\"", seen, 5s), std::string::npos)
            << live_testing::readText(file("tuner.out")) << live_testing::readText(file("tuner.err"))
            << live_testing::readText(file("player.err"));
    }
    tuner.stop();

    // One line each way, and none of the libraries' own complaints on the terminal.
    const std::string errors = live_testing::readText(file("tuner.err"));
    const auto count = [&](const std::string& text) {
        size_t n = 0;
        for (size_t at = errors.find(text); at != std::string::npos; at = errors.find(text, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("the microphone is lost"), 1u) << errors;
    EXPECT_EQ(count("the microphone is back"), 1u) << errors;
    for (const char* noise : {"\nALSA lib ", "\nExpression '", "\nConnection failure"}) {
        EXPECT_EQ(count(noise), 0u) << noise << "\n" << errors;
    }
}

}  // namespace

namespace {

class DeviceChoiceTest : public LiveAudioTest {
protected:
    // Runs the program to its end; its exit status.
    int runToEnd(const std::string& arguments) {
        LiveProcess run(program(arguments), file("run.out"), file("run.err"));
        return run.wait();
    }
    std::string out() const { return live_testing::readText(file("run.out")); }
    std::string err() const { return live_testing::readText(file("run.err")); }
};

TEST_F(DeviceChoiceTest, ListsInputsAndOutputsWithTheDefaultsMarked) {
    PALLQA_REQUIRE_SOUND_SERVER(server_, 44100);
    EXPECT_EQ(runToEnd("--list-devices"), 0) << err();
    // ALSA's pulse device and the default that leads to the server, each way.
    EXPECT_EQ(out(),
              "Inputs:\n    pulse (ALSA)\n  * default (ALSA), the default\n"
              "Outputs:\n    pulse (ALSA)\n  * default (ALSA), the default\n");
}

TEST_F(DeviceChoiceTest, AnUnknownDeviceIsAnErrorThatListsTheDevices) {
    PALLQA_REQUIRE_SOUND_SERVER(server_, 44100);
    for (const char* option : {"--input-device", "--output-device"}) {
        EXPECT_EQ(runToEnd(std::string("--headless ") + option + " 'no such card'"), 2) << option;
        EXPECT_NE(err().find("\"no such card\""), std::string::npos) << err();
        EXPECT_NE(err().find("  * default (ALSA), the default"), std::string::npos) << err();
        EXPECT_EQ(out().find("currentTuningName"), std::string::npos) << "the run must not start";
    }
    // "e" is in both "pulse" and "default": which one is meant is not said.
    EXPECT_EQ(runToEnd("--headless --input-device e --seconds 0.5"), 2);
}

// "PULS" is in "pulse" only, whatever the case.
TEST_F(DeviceChoiceTest, ThePartOfANameChoosesTheMicrophone) {
    PALLQA_REQUIRE_SOUND_SERVER(server_, 44100);
    LiveProcess tuner(program("--headless --input-device PULS --seconds 8"), file("tuner.out"), file("tuner.err"));
    ASSERT_NE(live_testing::waitForText(file("tuner.out"), "currentTuningName", 0, 10s), std::string::npos);
    LiveProcess player(playIntoMicrophone(kOneNote), file("player.out"), file("player.err"));
    EXPECT_NE(live_testing::waitForText(file("tuner.out"), "noteDisplay=\"A4\"", 0, 6s), std::string::npos)
        << live_testing::readText(file("tuner.err"));
}

TEST_F(DeviceChoiceTest, ARememberedMicrophoneThatIsAbsentFallsBackToTheDefaultWithOneLine) {
    PALLQA_REQUIRE_SOUND_SERVER(server_, 44100);
    fs::create_directories(folder_ / "config" / "pallqa-tuner");
    std::ofstream(folder_ / "config" / "pallqa-tuner" / "com.tarvelolabs.pallqatuner.json")
        << R"({"PallqaMicrophone": "USB microphone"})";
    LiveProcess tuner(program("--headless --seconds 8"), file("tuner.out"), file("tuner.err"));
    ASSERT_NE(live_testing::waitForText(file("tuner.out"), "currentTuningName", 0, 10s), std::string::npos);
    LiveProcess player(playIntoMicrophone(kOneNote), file("player.out"), file("player.err"));
    EXPECT_NE(live_testing::waitForText(file("tuner.out"), "noteDisplay=\"A4\"", 0, 6s), std::string::npos);
    tuner.stop();
    const std::string errors = live_testing::readText(file("tuner.err"));
    const std::string notice = "the chosen microphone \"USB microphone\" is not there; the default one listens";
    EXPECT_NE(errors.find(notice), std::string::npos) << errors;
    EXPECT_EQ(errors.find(notice), errors.rfind(notice)) << "said once";
}

}  // namespace
