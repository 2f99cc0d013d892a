#include "app/Commands.h"

#include "app/ChordCommand.h"

namespace app {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        chordCommand(),
    };
    return table;
}

}  // namespace app
