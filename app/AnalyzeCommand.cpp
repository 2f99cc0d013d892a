#include "app/AnalyzeCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <memory>
#include <span>
#include <thread>

#include "pitch/BufferAnalysis.h"
#include "pitch/PitchListener.h"
#include "platform/audio/Recording.h"
#include "platform/core/OrderedParallelMap.h"
#include "platform/core/TerminalText.h"
#include "tuner/MatchTable.h"
#include "tuner/TuningGuide.h"

namespace app {
namespace {

struct Options {
    std::string file;
    bool json = false;
    // Buffers estimated at once; the output is the same for any number.
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
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

// One buffer at a time up to 1024 at once, said in the user's language.
CLI::Validator jobsInRange() {
    const CLI::Range inRange(1u, 1024u);
    return CLI::Validator(
        [inRange](std::string& input) {
            return inRange(input).empty() ? std::string() : platform::terminalText("Value %@ not in range 1 to 1024", input);
        },
        platform::terminalText("UINT in [1 - 1024]"));
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

// The recording is read a buffer at a time as the detectors take them, so
// memory does not grow with its length; the lines come out as the buffers are
// estimated, and a recording that breaks off is reported after them.
int runAnalyze(const Options& options, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto recording = platform::openRecording(options.file, pitch::kCaptureSampleRate, error);
    if (!recording) {
        err << "pallqa-tuner analyze: " << options.file << ": " << error << "\n";
        return 1;
    }
    const auto read = [&](std::span<int16_t> samples) { return recording->read(samples); };
    pitch::analyzeBuffers(pitch::kCaptureSampleRate, read, options.jobs, [&](const pitch::BufferEstimate& estimate) {
        const tuner::MatchWindow* match = tuner::matchFrequency(estimate.frequency);
        const auto guidance = tuner::guideFrequency(estimate.refinedFrequency);
        out << (options.json ? jsonLine(estimate, match, guidance) : textLine(estimate, match, guidance)) << '\n';
    });
    out.flush();
    if (!recording->error().empty()) {
        err << "pallqa-tuner analyze: " << options.file << ": " << recording->error() << "\n";
        return 1;
    }
    // What a file cut short holds is analysed all the same; the cut is said.
    if (const std::string shortfall = recording->shortfall(); !shortfall.empty()) {
        err << "pallqa-tuner analyze: " << options.file << ": " << shortfall << "\n";
    }
    return 0;
}

}  // namespace

platform::CommandDefinition analyzeCommand() {
    return {"analyze",
            platform::terminalText("the pitch of each 4096-sample buffer of a recording: time, frequency, bin, note, "
                                   "level, and the nearest course with the offset from its pitch in cents"),
            [](CLI::App& command) -> platform::CommandRunner {
                auto options = std::make_shared<Options>();
                command
                    .add_option(platform::terminalText("FILE"), options->file,
                                platform::terminalText("the recording (WAV, FLAC, MP3, ...)"))
                    ->required();
                command.add_flag("--json", options->json,
                                 platform::terminalText("one JSON object per buffer instead of a text line"));
                command
                    .add_option("--jobs", options->jobs,
                                platform::terminalText("buffers estimated at once (default: the number of cores; at "
                                                       "most %@, and no more than the recording has buffers)",
                                                       platform::kMostParallelJobs))
                    ->check(jobsInRange());
                return [options](std::ostream& out, std::ostream& err) { return runAnalyze(*options, out, err); };
            }};
}

}  // namespace app
