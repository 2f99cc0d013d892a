#include "app/Commands.h"

namespace app {

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
    };
    return table;
}

}  // namespace app
