#include "platform/core/TerminalText.h"

#include <cstdio>

#include "platform/core/Bundle.h"

namespace platform {
namespace {

constexpr const char* kTerminalTable = "Terminal";

}  // namespace

std::string terminalText(std::string_view english) {
    return Bundle::mainBundle()->localizedString(std::string(english), "", kTerminalTable);
}

std::string formatTerminalText(std::string_view englishFormat, std::span<const LogArg> args) {
    return formatMessage(terminalText(englishFormat), args, Bundle::mainBundle()->decimalSeparator());
}

void tellOnStderr(const std::string& text) {
    std::fprintf(stderr, "pallqa-tuner: %s\n", text.c_str());
}

}  // namespace platform
