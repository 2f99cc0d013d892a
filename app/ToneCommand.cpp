#include "app/ToneCommand.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/audio/AudioOutputUnit.h"
#include "platform/ui/Controls.h"
#include "platform/core/RunLoop.h"
#include "platform/audio/SoundFileWriter.h"
#include "platform/audio/desktop/PortAudioOutputUnit.h"
#include "sound/ToneGenerator.h"
#include "sound/ToneOscillators.h"
#include "sound/ToneRenderCallback.h"
#include "sound/TuningFork.h"

namespace app {
namespace {

constexpr std::string_view kSynopsis = "tone NOTE [--seconds S] [--out FILE.wav]";
constexpr double kDefaultSeconds = 3.0;
// An hour of reference tone is far more than any tuning needs.
constexpr double kMaxSeconds = 3600.0;
// Frames pulled from the unit at a time when writing a file.
constexpr uint32_t kBlockFrames = 4096;
constexpr uint32_t kChannels = sound::kToneStreamFormat.mChannelsPerFrame;

struct ToneRequest {
    const sound::TuningForkNote* note = nullptr;
    double seconds = kDefaultSeconds;
    std::optional<std::filesystem::path> out;
    bool help = false;
};

std::string usage() {
    std::string names;
    for (const auto& note : sound::TuningFork::notes()) names += " " + std::string(note.name);
    return "Usage: pallqa-tuner " + std::string(kSynopsis) +
           "\n"
           "Plays the tuning fork's reference tone at NOTE, one of" +
           names +
           ", for S seconds\n"
           "(default 3, at most 3600) on the default output device, or writes it to\n"
           "FILE.wav as 44100 Hz 16-bit stereo.\n";
}

std::optional<double> parseSeconds(const std::string& text) {
    double seconds = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seconds);
    if (error != std::errc() || stop != end || !std::isfinite(seconds)) return std::nullopt;
    if (seconds <= 0.0 || seconds > kMaxSeconds) return std::nullopt;
    return seconds;
}

// The request, or nothing with `error` saying what is wrong.
std::optional<ToneRequest> parse(std::span<const std::string> arguments, std::string& error) {
    ToneRequest request;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--help" || argument == "-h") {
            request.help = true;
        } else if (argument == "--seconds" || argument == "--out") {
            if (!hasValue) {
                error = argument + " needs a value";
                return std::nullopt;
            }
            const std::string& value = arguments[++i];
            if (argument == "--out") {
                request.out = value;
            } else if (auto seconds = parseSeconds(value)) {
                request.seconds = *seconds;
            } else {
                error = "--seconds wants a number of seconds above 0 and at most 3600, not \"" + value + "\"";
                return std::nullopt;
            }
        } else if (argument.starts_with("-")) {
            error = "unknown option \"" + argument + "\"";
            return std::nullopt;
        } else if (request.note != nullptr) {
            error = "one NOTE only, not also \"" + argument + "\"";
            return std::nullopt;
        } else if ((request.note = sound::TuningFork::noteNamed(argument)) == nullptr) {
            error = "unknown note \"" + argument + "\"";
            return std::nullopt;
        }
    }
    if (request.note == nullptr && !request.help) {
        error = "which NOTE?";
        return std::nullopt;
    }
    return request;
}

// Pulls the tone from the plain unit, block by block, into the file.
int writeTone(const ToneRequest& request) {
    auto* unit = dynamic_cast<platform::PlainAudioOutputUnit*>(sound::ToneGenerator::toneUnit());
    if (unit == nullptr || !unit->isRunning()) {
        std::fputs("pallqa-tuner tone: the tone could not be started\n", stderr);
        return 1;
    }
    std::string error;
    const auto sampleRate = static_cast<uint32_t>(sound::kToneStreamFormat.mSampleRate);
    auto writer = platform::createSoundFileWriter(*request.out, sampleRate, kChannels, error);
    if (!writer) {
        std::fprintf(stderr, "pallqa-tuner tone: %s\n", error.c_str());
        return 1;
    }
    auto remaining = static_cast<uint64_t>(std::llround(request.seconds * sound::kToneStreamFormat.mSampleRate));
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

// Lets the sound card pull the tone for the requested time.
int playTone(const ToneRequest& request, const platform::Label& noteDisplay, const platform::Label& freqLabel) {
    const auto* unit = sound::ToneGenerator::toneUnit();
    // A unit that could not start has said why on stderr.
    if (unit == nullptr || !unit->isRunning()) return 1;
    std::printf("Playing %s (%s) for %g s on the default output device.\n", noteDisplay.text().c_str(),
                freqLabel.text().c_str(), request.seconds);
    std::fflush(stdout);
    platform::RunLoop::main().run(request.seconds);
    return 0;
}

int runTone(std::span<const std::string> arguments) {
    std::string error;
    const auto request = parse(arguments, error);
    if (!request) {
        std::fprintf(stderr, "pallqa-tuner tone: %s\n%s", error.c_str(), usage().c_str());
        return 2;
    }
    if (request->help) {
        std::fputs(usage().c_str(), stdout);
        return 0;
    }
    platform::AudioComponent::setOutputUnitFactory(request->out ? platform::AudioOutputUnitFactory{}
                                                                : platform::media::makePortAudioOutputUnit);
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

Command toneCommand() {
    return {"tone", std::string(kSynopsis), "play the tuning fork's tone, or write it to a WAV file", runTone};
}

}  // namespace app
