#pragma once
// Recordings as the detector hears them: decoded, mixed down to one channel,
// converted to the capture rate and read in pieces. Which files can be opened
// is decided by an installed opener: the desktop installs one that reads real
// sound files; until then (and in tests that install none) nothing opens.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace platform {

class Recording {
public:
    virtual ~Recording() = default;
    // Fills the front of `samples` with what comes next; answers how many were
    // written, 0 once the recording has ended.
    virtual size_t read(std::span<int16_t> samples) = 0;
    // Why reading stopped early; empty while the recording reads well or after
    // it simply ended.
    virtual const std::string& error() const = 0;
    // Once the recording has ended short of the length its header states,
    // "the recording ends early: N of M frames read"; empty otherwise.
    virtual std::string shortfall() const = 0;
};

// Opens `file` as signed 16-bit samples at `sampleRate`; null with `error`
// saying why in a few words ("no such file", "is not a sound file (...)").
using RecordingOpener =
    std::function<std::unique_ptr<Recording>(const std::filesystem::path& file, double sampleRate, std::string& error)>;

// Opens `file` with the installed opener.
std::unique_ptr<Recording> openRecording(const std::filesystem::path& file, double sampleRate, std::string& error);

// Chooses the opener; null means none.
void setRecordingOpener(RecordingOpener opener);

}  // namespace platform
