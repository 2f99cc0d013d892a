#pragma once
// Offsets in cents as the guide writes them: one decimal, with the language's
// decimal separator ("-0,4" in Spanish) whatever the process's locale, and
// without allocating, so that a tick may write them freely.

#include <string_view>

namespace tuner {

// "+12.3", "-0.4": the offset with its sign, written into `out`.
std::string_view signedTenths(double cents, char decimalSeparator, char (&out)[16]);
// "3.9": a size without a sign, written into `out`.
std::string_view tenths(double value, char decimalSeparator, char (&out)[16]);

}  // namespace tuner
