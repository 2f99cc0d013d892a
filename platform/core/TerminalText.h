#pragma once
// What the program writes on the terminal — its help, its command-line errors
// and its notices on stderr — in the user's language. An English text is its
// own key in the string table "Terminal" (resources/strings/<language>/
// Terminal.json), so a language, a table or an entry that is missing reads
// English. The real numbers of a format take the language's decimal separator.

#include <span>
#include <string>
#include <string_view>

#include "platform/core/Log.h"

namespace platform {

std::string terminalText(std::string_view english);

// The translation of a format such as "unknown note \"%@\"", expanded as the log's are.
std::string formatTerminalText(std::string_view englishFormat, std::span<const LogArg> args);

template <typename... Args>
std::string terminalText(std::string_view englishFormat, const Args&... args) {
    const LogArg packed[] = {LogArg(args)...};
    return formatTerminalText(englishFormat, packed);
}

// Writes "pallqa-tuner: <text>" on stderr.
void tellOnStderr(const std::string& text);

}  // namespace platform
