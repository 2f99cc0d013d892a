#include "app/Commands.h"

#include "app/AnalyzeCommand.h"
#include "app/ChordCommand.h"
#include "app/ToneCommand.h"

namespace app {

std::vector<platform::CommandDefinition> commands() { return {analyzeCommand(), chordCommand(), toneCommand()}; }

}  // namespace app
