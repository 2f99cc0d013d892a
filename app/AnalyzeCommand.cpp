#include "app/AnalyzeCommand.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <memory>
#include <optional>
#include <vector>

#include "pitch/BufferAnalysis.h"
#include "pitch/PitchListener.h"
#include "platform/audio/Recording.h"
#include "tuner/MatchTable.h"

namespace app {
namespace {

struct Options {
    std::string file;
    bool json = false;
};

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

// The whole recording at the detector's rate; nothing, with `error`, when it cannot be read.
std::optional<std::vector<int16_t>> captureSamplesOf(const std::string& file, std::string& error) {
    auto recording = platform::openRecording(file, pitch::kCaptureSampleRate, error);
    if (!recording) return std::nullopt;
    std::vector<int16_t> samples;
    std::vector<int16_t> piece(pitch::PitchEstimator::kAnalysedBytes / sizeof(int16_t));
    while (const size_t count = recording->read(piece)) samples.insert(samples.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(count));
    if (!recording->error().empty()) {
        error = recording->error();
        return std::nullopt;
    }
    return samples;
}

int runAnalyze(const Options& options, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto samples = captureSamplesOf(options.file, error);
    if (!samples) {
        err << "pallqa-tuner analyze: " << options.file << ": " << error << "\n";
        return 1;
    }
    auto detector = std::make_unique<pitch::PitchEstimator>(pitch::kCaptureSampleRate);
    pitch::analyzeBuffers(*detector, *samples, [&](const pitch::BufferEstimate& estimate) {
        const tuner::MatchWindow* match = tuner::matchFrequency(estimate.frequency);
        out << (options.json ? jsonLine(estimate, match) : textLine(estimate, match)) << '\n';
    });
    out.flush();
    return 0;
}

}  // namespace

platform::CommandDefinition analyzeCommand() {
    return {"analyze", "the pitch of each 4096-sample buffer of a recording: time, frequency, bin, note, level",
            [](CLI::App& command) -> platform::CommandRunner {
                auto options = std::make_shared<Options>();
                command.add_option("FILE", options->file, "the recording (WAV, FLAC, MP3, ...)")->required();
                command.add_flag("--json", options->json, "one JSON object per buffer instead of a text line");
                return [options](std::ostream& out, std::ostream& err) { return runAnalyze(*options, out, err); };
            }};
}

}  // namespace app
