#include "app/ToneCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

#include "platform/audio/AudioOutputUnit.h"
#include "platform/ui/Controls.h"
#include "platform/core/RunLoop.h"
#include "platform/audio/SoundFileWriter.h"
#include "platform/core/Bundle.h"
#include "platform/core/TerminalText.h"
#include "sound/ToneGenerator.h"
#include "sound/ToneOscillators.h"
#include "sound/ToneRenderCallback.h"
#include "sound/TuningFork.h"

namespace app {
namespace {

constexpr double kDefaultSeconds = 3.0;
// An hour of reference tone is far more than any tuning needs.
constexpr double kMaxSeconds = 3600.0;
// Frames pulled from the unit at a time when writing a file.
constexpr uint32_t kBlockFrames = 4096;
constexpr uint32_t kChannels = sound::kToneStreamFormat.mChannelsPerFrame;
// How often playing checks how much of the tone the device has taken: short
// enough that the tone runs over by no more than this.
constexpr double kPullCheckSeconds = 0.005;
// The longest a device may take to start before playing gives up on it.
constexpr double kDeviceStartAllowance = 5.0;

struct ToneRequest {
    const sound::TuningForkNote* note = nullptr;
    double seconds = kDefaultSeconds;
    std::optional<std::filesystem::path> out;
};

// The command line's words, before they are checked.
struct ToneArguments {
    std::string note;
    std::string seconds;
    std::string out;
    // Whether each was given at all: the runner outlives the parser's options.
    bool secondsGiven = false;
    bool outGiven = false;
};

std::string noteNames() {
    std::string names;
    for (const auto& note : sound::TuningFork::notes()) names += (names.empty() ? "" : ", ") + std::string(note.name);
    return names;
}

// Seconds written with a point, or with the decimal separator of the user's language.
std::optional<double> parseSeconds(std::string text) {
    std::replace(text.begin(), text.end(), platform::Bundle::mainBundle()->decimalSeparator(), '.');
    double seconds = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seconds);
    if (error != std::errc() || stop != end || !std::isfinite(seconds)) return std::nullopt;
    if (seconds <= 0.0 || seconds > kMaxSeconds) return std::nullopt;
    return seconds;
}

// "a4" names A4 as well: the note letter in either case.
const sound::TuningForkNote* noteCalled(std::string name) {
    if (!name.empty()) name.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(name.front())));
    return sound::TuningFork::noteNamed(name);
}

// The request, or nothing with `error` saying what is wrong.
std::optional<ToneRequest> check(const ToneArguments& arguments, std::string& error) {
    ToneRequest request;
    if ((request.note = noteCalled(arguments.note)) == nullptr) {
        error = platform::terminalText("unknown note \"%@\"; use one of %@", arguments.note, noteNames());
        return std::nullopt;
    }
    if (arguments.secondsGiven) {
        const auto seconds = parseSeconds(arguments.seconds);
        if (!seconds) {
            error = platform::terminalText("--seconds wants a number of seconds above 0 and at most 3600, not \"%@\"",
                                           arguments.seconds);
            return std::nullopt;
        }
        request.seconds = *seconds;
    }
    if (arguments.outGiven) {
        if (arguments.out.empty()) {
            error = platform::terminalText("--out needs a file");
            return std::nullopt;
        }
        request.out = arguments.out;
    }
    return request;
}

uint64_t framesOf(const ToneRequest& request) {
    return static_cast<uint64_t>(std::llround(request.seconds * sound::kToneStreamFormat.mSampleRate));
}

// Pulls the tone from the plain unit, block by block, into the file.
int writeTone(const ToneRequest& request) {
    auto* unit = dynamic_cast<platform::PlainAudioOutputUnit*>(sound::ToneGenerator::toneUnit());
    if (unit == nullptr || !unit->isRunning()) {
        std::fprintf(stderr, "pallqa-tuner tone: %s\n", platform::terminalText("the tone could not be started").c_str());
        return 1;
    }
    std::string error;
    const auto sampleRate = static_cast<uint32_t>(sound::kToneStreamFormat.mSampleRate);
    uint64_t remaining = framesOf(request);
    auto writer = platform::createSoundFileWriter(*request.out, sampleRate, kChannels, remaining, error);
    if (!writer) {
        std::fprintf(stderr, "pallqa-tuner tone: %s\n", error.c_str());
        return 1;
    }
    std::vector<int16_t> block(size_t{kBlockFrames} * kChannels);
    bool written = true;
    while (written && remaining > 0) {
        const auto frames = static_cast<uint32_t>(std::min<uint64_t>(remaining, kBlockFrames));
        platform::AudioBuffer buffer{kChannels, frames * sound::kToneStreamFormat.mBytesPerFrame, block.data()};
        unit->render(frames, platform::AudioBufferList(&buffer, 1));
        written = writer->write(std::span<const int16_t>(block.data(), size_t{frames} * kChannels));
        remaining -= frames;
    }
    // The file appears whole when finished, or not at all: an older one stays as it was.
    if (!written || !writer->finish()) {
        std::fprintf(stderr, "pallqa-tuner tone: %s\n", writer->error().c_str());
        return 1;
    }
    return 0;
}

// Lets the sound card pull the tone until it has been handed the requested
// number of frames; stopping the unit then lets the device play out what it
// holds. Timing by the wall clock instead would cut the tone short by however
// long the device took to start.
int playTone(const ToneRequest& request, const platform::Label& noteDisplay, const platform::Label& freqLabel) {
    const auto* unit = sound::ToneGenerator::toneUnit();
    // A unit that could not start has said why on stderr.
    if (unit == nullptr || !unit->isRunning()) return 1;
    std::printf("%s\n", platform::terminalText("Playing %@ (%@) for %g s on the default output device.",
                                                noteDisplay.text(), freqLabel.text(), request.seconds)
                           .c_str());
    std::fflush(stdout);
    const uint64_t frames = framesOf(request);
    // A device that stops pulling (gone mid-tone) ends the wait all the same.
    const double deadline = request.seconds + kDeviceStartAllowance;
    const auto loop = platform::RunLoop::main();
    for (double waited = 0.0; unit->framesRendered() < frames && waited < deadline; waited += kPullCheckSeconds) {
        loop->run(kPullCheckSeconds);
    }
    if (unit->framesRendered() < frames) {
        std::fprintf(stderr, "pallqa-tuner tone: %s\n",
                     platform::terminalText("the output device stopped taking the tone").c_str());
        return 1;
    }
    return 0;
}

int runTone(const ToneArguments& arguments, std::ostream& err) {
    std::string error;
    const auto request = check(arguments, error);
    if (!request) {
        err << "pallqa-tuner tone: " << error << "\n";
        return platform::kUsageError;
    }
    // A file is written from the plain unit, pulled here; playing uses the
    // unit the program installed for the sound card.
    if (request->out) platform::AudioComponent::setOutputUnitFactory({});
    sound::restartToneOscillators();
    sound::ToneGenerator generator;
    auto noteDisplay = std::make_shared<platform::Label>();
    auto freqLabel = std::make_shared<platform::Label>();
    sound::TuningFork fork(noteDisplay, freqLabel);

    // What the tuner screen does when it appears, then the note button.
    generator.setCurTone(sound::ToneGenerator::kTriangle);
    generator.setupAudio();
    fork.setCurPlayState(sound::TuningFork::kStopped);
    fork.play(*request->note);

    const int status = request->out ? writeTone(*request) : playTone(*request, *noteDisplay, *freqLabel);
    fork.stopFreqPlay(nullptr);
    return status;
}

}  // namespace

platform::CommandDefinition toneCommand() {
    return {"tone", platform::terminalText("play the tuning fork's tone, or write it to a WAV file"),
            [](CLI::App& command) -> platform::CommandRunner {
                auto arguments = std::make_shared<ToneArguments>();
                command
                    .add_option(platform::terminalText("NOTE"), arguments->note,
                                platform::terminalText("the note, one of %@ (in either case)", noteNames()))
                    ->required();
                ToneArguments* given = arguments.get();
                command.add_option("--seconds", arguments->seconds, platform::terminalText("how long, at most 3600 (default 3)"))
                    ->type_name("S")
                    ->each([given](const std::string&) { given->secondsGiven = true; });
                command
                    .add_option("--out", arguments->out,
                                platform::terminalText("write the tone to FILE.wav as 44100 Hz 16-bit stereo "
                                                       "instead of playing it on the default output device"))
                    ->type_name(platform::terminalText("FILE.wav"))
                    ->each([given](const std::string&) { given->outGiven = true; });
                return [arguments](std::ostream&, std::ostream& err) { return runTone(*arguments, err); };
            }};
}

}  // namespace app
