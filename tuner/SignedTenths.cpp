#include "tuner/SignedTenths.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tuner {

std::string_view signedTenths(double cents, char decimalSeparator, char (&out)[16]) {
    // Never "-0.0": a string a hair flat shows no offset.
    const double shown = std::round(cents * 10.0) / 10.0;
    char* first = out + 1;
    const auto end = std::to_chars(first, out + sizeof out, shown == 0.0 ? 0.0 : shown, std::chars_format::fixed, 1).ptr;
    std::replace(first, end, '.', decimalSeparator);
    if (*first != '-') *--first = '+';
    return {first, static_cast<size_t>(end - first)};
}

std::string_view tenths(double value, char decimalSeparator, char (&out)[16]) {
    const auto end = std::to_chars(out, out + sizeof out, value, std::chars_format::fixed, 1).ptr;
    std::replace(out, end, '.', decimalSeparator);
    return {out, static_cast<size_t>(end - out)};
}

}  // namespace tuner
