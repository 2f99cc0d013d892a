#include "app/AnalyzeCommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>
#include <span>
#include <thread>
#include <vector>

#include "app/GuideLines.h"
#include "app/GuidePlot.h"
#include "app/JsonNumber.h"
#include "app/WholeNumberOption.h"
#include "guide/GuideAnalyzer.h"
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
    bool guide = false;
    std::string plot;  // the picture to draw the guide's readings in, if any
    int course = 0;    // the course the user chose, 1 to 5; 0 for the nearest
    // Buffers estimated at once; the output is the same for any number.
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
};

// Buffers estimated at once that may be asked for; more than kMostParallelJobs run as that many.
constexpr int kMostJobsAsked = 1024;

// The course the user chose, or null for the nearest.
const sound::Course* chosenCourse(const Options& options) {
    return options.course == 0 ? nullptr : &sound::kCourses[static_cast<size_t>(options.course - 1)];
}

// The guide's fields: the course and note nearest the refined frequency (or
// the chosen course) and the offset from its pitch, or nulls where no course
// lies within reach.
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
                  static_cast<double>(estimate.frequency), estimate.bin, match ? std::string(match->note).c_str() : "-",
                  static_cast<double>(estimate.level));
    return line + textGuide(guidance);
}

void analyzeBuffers(const Options& options, platform::Recording& recording, std::ostream& out) {
    const auto read = [&](std::span<int16_t> samples) { return recording.read(samples); };
    pitch::analyzeBuffers(pitch::kCaptureSampleRate, read, options.jobs, [&](const pitch::BufferEstimate& estimate) {
        const tuner::MatchWindow* match = tuner::matchFrequency(estimate.frequency);
        const sound::Course* chosen = chosenCourse(options);
        const auto guidance = chosen ? tuner::guideToCourse(estimate.refinedFrequency, *chosen)
                                     : tuner::guideFrequency(estimate.refinedFrequency);
        out << (options.json ? jsonLine(estimate, match, guidance) : textLine(estimate, match, guidance)) << '\n';
    });
}

// Each hop depends on the ones before it, so the guide reads on one thread.
// The readings are kept only for a plot.
std::vector<guide::GuideReading> analyzeHops(const Options& options, platform::Recording& recording,
                                             std::ostream& out) {
    const auto analyzer = std::make_unique<guide::GuideAnalyzer>(pitch::kCaptureSampleRate, tuner::guideCourses());
    const sound::Course* chosen = chosenCourse(options);
    if (chosen) analyzer->choose(chosen->number);
    std::vector<int16_t> hop(guide::kHopSamples);
    std::vector<guide::GuideReading> kept;
    while (const size_t count = recording.read(hop)) {
        const guide::GuideReading reading = analyzer->take(std::span(hop).first(count));
        if (!options.plot.empty()) kept.push_back(reading);
        if (!options.guide) continue;
        out << (options.json ? guideJsonLine(reading, pitch::kCaptureSampleRate, chosen)
                             : guideTextLine(reading, pitch::kCaptureSampleRate, chosen))
            << '\n';
    }
    return kept;
}

// The recording is read a piece at a time as the analysis takes it, so memory
// does not grow with its length; the lines come out as the pieces are
// analysed, and a recording that breaks off is reported after them.
int runAnalyze(const Options& options, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto recording = platform::openRecording(options.file, pitch::kCaptureSampleRate, error);
    if (!recording) {
        err << "pallqa-tuner analyze: " << options.file << ": " << error << "\n";
        return 1;
    }
    if (!options.guide && options.plot.empty()) {
        analyzeBuffers(options, *recording, out);
        out.flush();
    } else {
        const auto readings = analyzeHops(options, *recording, out);
        out.flush();
        if (!options.plot.empty() &&
            !drawGuidePlot(options.plot, std::filesystem::path(options.file).filename().string(), readings,
                           pitch::kCaptureSampleRate, error)) {
            err << "pallqa-tuner analyze: " << options.plot << ": " << error << "\n";
            return 1;
        }
    }
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
                command.add_flag(
                    "--json", options->json,
                    platform::terminalText(
                        "one JSON object per line (a buffer, or a hop with --guide) instead of a text line"));
                command.add_flag("--guide", options->guide,
                                 platform::terminalText("the tuning guide's own readings instead, one per hop of 512 "
                                                        "samples: time, Hz, course, target, cents, and the nearest "
                                                        "note of the chromatic scale"));
                command
                    .add_option("--course", options->course,
                                platform::terminalText("reads every string as course N, however far from its pitch "
                                                       "(up to an octave either way), instead of the nearest course"))
                    ->type_name("N")
                    ->check(wholeNumberBetween(1, static_cast<int>(sound::kCourses.size()), "INT"));
                command
                    .add_option("--plot", options->plot,
                                platform::terminalText(
                                    "draws the guide's readings, cents over time by course, into OUT.svg or OUT.png"))
                    ->type_name(platform::terminalText("OUT"));
                command
                    .add_option("--jobs", options->jobs,
                                platform::terminalText("buffers estimated at once (default: the number of cores; at "
                                                       "most %@, and no more than the recording has buffers)",
                                                       platform::kMostParallelJobs))
                    ->check(wholeNumberBetween(1, kMostJobsAsked, "UINT"));
                return [options](std::ostream& out, std::ostream& err) { return runAnalyze(*options, out, err); };
            }};
}

}  // namespace app
