#pragma once
// A helper program a test runs beside itself as another run of the program
// would be: started with its arguments, waited for.

#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace testing_support {

// Starts `arguments[0]` with `arguments`; answers its process id.
inline pid_t startHelper(std::vector<std::string> arguments) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (auto& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

// Waits for the helper's end; its exit status, or 128 + the signal that ended it.
inline int finishHelper(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace testing_support
