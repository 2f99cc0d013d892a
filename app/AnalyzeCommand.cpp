#include "app/AnalyzeCommand.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>

#include "pitch/BufferAnalysis.h"
#include "pitch/PitchListener.h"
#include "platform/audio/desktop/RecordingDecoder.h"
#include "tuner/MatchTable.h"
#include "tuner/TuningGuide.h"

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

// The guide's fields: the course and note nearest the refined frequency and
// the offset from its pitch, or nulls where no course lies within reach.
std::string jsonGuide(const std::optional<tuner::Guidance>& guidance) {
    if (!guidance) return ", \"course\": null, \"target\": null, \"cents\": null";
    return ", \"course\": " + std::to_string(guidance->course->number) + ", \"target\": \"" +
           std::string(guidance->course->note) + "\", \"cents\": " + jsonNumber(guidance->cents);
}

std::string textGuide(const std::optional<tuner::Guidance>& guidance) {
    if (!guidance) return "  course -";
    char column[48];
    std::snprintf(column, sizeof column, "  course %d %.*s %+6.1f cents", guidance->course->number,
                  static_cast<int>(guidance->course->note.size()), guidance->course->note.data(), guidance->cents);
    return column;
}

std::string jsonLine(const pitch::BufferEstimate& estimate, const tuner::MatchWindow* match,
                     const std::optional<tuner::Guidance>& guidance) {
    // Times to the microsecond: the buffer starts are fractions of the sample rate.
    const double time = std::round(estimate.time * 1e6) / 1e6;
    std::string note = match ? "\"" + std::string(match->note) + "\"" : "null";
    return "{\"t\": " + jsonNumber(time) + ", \"bin\": " + std::to_string(estimate.bin) +
           ", \"hz\": " + jsonNumber(estimate.frequency) + ", \"note\": " + note +
           ", \"level\": " + jsonNumber(estimate.level) + jsonGuide(guidance) + "}";
}

std::string textLine(const pitch::BufferEstimate& estimate, const tuner::MatchWindow* match,
                     const std::optional<tuner::Guidance>& guidance) {
    char line[128];
    std::snprintf(line, sizeof line, "%9.3f s  %10.5f Hz  bin %5d  %-2s  level %.5f", estimate.time,
                  static_cast<double>(estimate.frequency), estimate.bin,
                  match ? std::string(match->note).c_str() : "-", static_cast<double>(estimate.level));
    return line + textGuide(guidance);
}

}  // namespace

int runAnalyze(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    const auto options = parseOptions(arguments);
    if (!options) {
        err << "usage: pallqa-tuner " << kSynopsis << "\n";
        return 2;
    }
    std::string error;
    const auto recording = platform::media::readMonoRecording(options->file, error);
    const auto samples =
        recording ? platform::media::captureSamples(*recording, pitch::kCaptureSampleRate, error) : std::nullopt;
    if (!samples) {
        err << "pallqa-tuner analyze: " << options->file << ": " << error << "\n";
        return 1;
    }
    auto detector = std::make_unique<pitch::PitchEstimator>(pitch::kCaptureSampleRate);
    pitch::analyzeBuffers(*detector, *samples, [&](const pitch::BufferEstimate& estimate) {
        const tuner::MatchWindow* match = tuner::matchFrequency(estimate.frequency);
        const auto guidance = tuner::guideFrequency(estimate.refinedFrequency);
        out << (options->json ? jsonLine(estimate, match, guidance) : textLine(estimate, match, guidance)) << '\n';
    });
    out.flush();
    return 0;
}

Command analyzeCommand() {
    return Command{"analyze", kSynopsis,
                   "the pitch of each 4096-sample buffer of a recording: time, frequency, bin, note, level, and the "
                   "nearest course with the offset from its pitch in cents",
                   [](std::span<const std::string> arguments) { return runAnalyze(arguments, std::cout, std::cerr); }};
}

}  // namespace app
