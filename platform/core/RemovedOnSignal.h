#pragma once
// A temporary file being written that must not outlive the process. While the
// object lives, SIGINT, SIGTERM and SIGHUP (the user stops the program) and
// SIGXFSZ (a write past the file-size limit) remove the file and say so in one
// line on stderr; the process then ends as the signal would have ended it, with
// the status the shell expects. A file left by SIGKILL, which cannot be caught,
// is removed by the next run (removeTemporariesOfGoneProcesses).
// One at a time; the handlers in place before come back when it ends.

#include <filesystem>
#include <string>

namespace platform {

class RemovedOnSignal {
public:
    // `temporary` is removed; `target` is the file it stands for, named in the line.
    RemovedOnSignal(const std::filesystem::path& temporary, const std::string& target);
    ~RemovedOnSignal();
    RemovedOnSignal(const RemovedOnSignal&) = delete;
    RemovedOnSignal& operator=(const RemovedOnSignal&) = delete;
};

// Removes the temporary files "<file>.tmp-<pid>" and "<file>.tmp-<pid>-<n>"
// beside `file` whose process has ended.
void removeTemporariesOfGoneProcesses(const std::filesystem::path& file);

}  // namespace platform
