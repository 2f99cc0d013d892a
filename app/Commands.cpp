#include "app/Commands.h"

#include "app/AnalyzeCommand.h"
#include "app/ChordCommand.h"
#include "app/ToneCommand.h"

namespace app {

const std::vector<platform::CommandDefinition>& commands() {
    static const std::vector<platform::CommandDefinition> table = {
        analyzeCommand(),
        chordCommand(),
        toneCommand(),
    };
    return table;
}

}  // namespace app
