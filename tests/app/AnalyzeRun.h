#pragma once
// `pallqa-tuner analyze ARGUMENTS...` run in the test's process over real
// files, read as the program reads them, with its output split into lines.

#include <sstream>
#include <string>
#include <vector>

#include "app/AnalyzeCommand.h"
#include "platform/audio/desktop/SoundFileRecording.h"
#include "tests/support/Commands.h"

namespace analyze_testing {

struct Run {
    int status;
    std::vector<std::string> lines;
    std::string errors;
};

inline Run analyze(std::vector<std::string> arguments) {
    std::ostringstream out;
    std::ostringstream err;
    platform::setRecordingOpener(platform::audio::desktop::openSoundFileRecording);
    const int status = testing_support::runCommand(app::analyzeCommand(), arguments, out, err);
    Run run{status, {}, err.str()};
    std::istringstream text(out.str());
    for (std::string line; std::getline(text, line);) run.lines.push_back(line);
    return run;
}

}  // namespace analyze_testing
