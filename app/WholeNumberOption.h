#pragma once
// The check of an option that takes a whole number within bounds, its
// complaint in the user's language: "Value 6 not in range 1 to 5".

#include <string>

namespace CLI {
class Validator;
}

namespace app {

// A whole number from `lowest` to `highest`; `typeName` ("INT") names it in the help.
CLI::Validator wholeNumberBetween(int lowest, int highest, const std::string& typeName);

}  // namespace app
