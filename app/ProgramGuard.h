#pragma once
// The program's last line of defence: nothing unexpected escapes it. An
// exception that reaches the program's body, or that ends any of its threads,
// is reported in one clear line on stderr and the program exits with status 1
// (never an abort with a core dump and a C++ runtime message).

#include <functional>

namespace app {

// Runs `body` and answers its status; 1 after anything it throws.
int runGuarded(const std::function<int()>& body);

}  // namespace app
