#pragma once
// Numbers in the commands' JSON lines: the shortest text that reads back as
// the value, always with a decimal point or an exponent so that it reads as
// a real number.

#include <charconv>
#include <string>

namespace app {

template <typename Real>
std::string jsonNumber(Real value) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    std::string number(text, end);
    if (number.find_first_of(".e") == std::string::npos) number += ".0";
    return number;
}

}  // namespace app
