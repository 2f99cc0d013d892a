#include "app/AnalyzeCommand.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <thread>

#include "pitch/BufferAnalysis.h"
#include "pitch/PitchListener.h"
#include "platform/audio/desktop/RecordingStream.h"
#include "tuner/MatchTable.h"

namespace app {
namespace {

constexpr const char* kSynopsis = "analyze FILE [--json]";

struct Options {
    std::string file;
    bool json = false;
};

std::optional<Options> parseOptions(std::span<const std::string> arguments) {
    Options options;
    bool haveFile = false;
    for (const auto& argument : arguments) {
        if (argument == "--json") {
            options.json = true;
        } else if (!haveFile && !argument.empty() && argument.front() != '-') {
            options.file = argument;
            haveFile = true;
        } else {
            return std::nullopt;
        }
    }
    if (!haveFile) return std::nullopt;
    return options;
}

// The shortest text that reads back as `value`, always with a decimal point
// or an exponent so that it reads as a real number.
template <typename Real>
std::string jsonNumber(Real value) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    std::string number(text, end);
    if (number.find_first_of(".e") == std::string::npos) number += ".0";
    return number;
}

std::string jsonLine(const pitch::BufferEstimate& estimate, const tuner::MatchWindow* match) {
    // Times to the microsecond: the buffer starts are fractions of the sample rate.
    const double time = std::round(estimate.time * 1e6) / 1e6;
    std::string note = match ? "\"" + std::string(match->note) + "\"" : "null";
    return "{\"t\": " + jsonNumber(time) + ", \"bin\": " + std::to_string(estimate.bin) +
           ", \"hz\": " + jsonNumber(estimate.frequency) + ", \"note\": " + note +
           ", \"level\": " + jsonNumber(estimate.level) + "}";
}

std::string textLine(const pitch::BufferEstimate& estimate, const tuner::MatchWindow* match) {
    char line[128];
    std::snprintf(line, sizeof line, "%9.3f s  %10.5f Hz  bin %5d  %-2s  level %.5f", estimate.time,
                  static_cast<double>(estimate.frequency), estimate.bin,
                  match ? std::string(match->note).c_str() : "-", static_cast<double>(estimate.level));
    return line;
}

}  // namespace

int runAnalyze(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    const auto options = parseOptions(arguments);
    if (!options) {
        err << "usage: pallqa-tuner " << kSynopsis << "\n";
        return 2;
    }
    std::string error;
    const auto recording = platform::media::RecordingStream::open(options->file, pitch::kCaptureSampleRate, error);
    if (!recording) {
        err << "pallqa-tuner analyze: " << options->file << ": " << error << "\n";
        return 1;
    }
    const auto read = [&](std::span<int16_t> samples) { return recording->read(samples); };
    const unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    pitch::analyzeBuffers(pitch::kCaptureSampleRate, read, jobs, [&](const pitch::BufferEstimate& estimate) {
        const tuner::MatchWindow* match = tuner::matchFrequency(estimate.frequency);
        out << (options->json ? jsonLine(estimate, match) : textLine(estimate, match)) << '\n';
    });
    out.flush();
    return 0;
}

Command analyzeCommand() {
    return Command{"analyze", kSynopsis,
                   "the pitch of each 4096-sample buffer of a recording: time, frequency, bin, note, level",
                   [](std::span<const std::string> arguments) { return runAnalyze(arguments, std::cout, std::cerr); }};
}

}  // namespace app
