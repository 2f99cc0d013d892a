#include "app/Usage.h"

#include "app/Commands.h"

namespace app {

std::string usageText() {
    std::string text =
        "Usage: pallqa-tuner [OPTIONS]\n"
        "       pallqa-tuner COMMAND [ARGUMENTS]\n"
        "\n"
        "Pallqa Tuner tunes a five-course, ten-string instrument from the microphone,\n"
        "plays reference tones and string recordings, and shows chord fingerings.\n"
        "\n"
        "Options:\n"
        "  --help       show this text and exit\n"
        "  --version    show the version and exit\n";
    if (!commands().empty()) {
        text += "\nCommands:\n";
        for (const auto& command : commands()) {
            text += "  " + command.synopsis + "\n      " + command.summary + "\n";
        }
    }
    return text;
}

std::string versionText() { return std::string("pallqa-tuner ") + PALLQA_VERSION + "\n"; }

}  // namespace app
