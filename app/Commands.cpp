#include "app/Commands.h"

#include "app/AnalyzeCommand.h"
#include "app/ChordCommand.h"
#include "app/ToneCommand.h"

namespace app {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        analyzeCommand(),
        chordCommand(),
        toneCommand(),
    };
    return table;
}

}  // namespace app
