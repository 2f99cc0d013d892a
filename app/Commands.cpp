#include "app/Commands.h"

#include "app/ChordCommand.h"
#include "app/ToneCommand.h"

namespace app {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        chordCommand(),
        toneCommand(),
    };
    return table;
}

}  // namespace app
