#pragma once
// The number a text starts with, read the way a phone's string class reads
// it: leading white space skipped, then as many characters as make a number;
// 0 when none do. "7.1.2" reads as 7.1, "12abc" as 12, "" as 0.

#include <cstdint>
#include <string_view>

namespace rating {

double leadingDouble(std::string_view text);
int64_t leadingInteger(std::string_view text);

}  // namespace rating
