#pragma once
// A recording read ahead on a thread of its own, so that whoever takes its
// samples never waits on the file: a pipe that stalls stalls only the reader.
// The reader keeps about a second of samples ready and reads on as they are
// taken. Until it ends, the reader owns the stream; the decoder behind it may
// be shared with other streams, so every use of it happens under
// `decoderUse`, the lock all users of that decoder share.
//
// A reader that is stopped while its thread waits in a read is left to finish
// that read on its own; nothing the rest of the program holds depends on it.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "platform/audio/desktop/RecordingStream.h"

namespace platform::audio::desktop {

class RecordingReader {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    // Starts reading `stream` from its first sample (or, through a pipe, from
    // where the decoder is); `ended` is called on the reader's thread, once,
    // with the stream's error or shortfall (empty when the recording simply
    // ended).
    static std::shared_ptr<RecordingReader> start(std::unique_ptr<RecordingStream> stream,
                                                  std::shared_ptr<std::mutex> decoderUse,
                                                  std::function<void(const std::string& error)> ended);
    ~RecordingReader();
    RecordingReader(const RecordingReader&) = delete;
    RecordingReader& operator=(const RecordingReader&) = delete;

    // Copies out up to `samples.size()` samples that are ready; never waits.
    size_t take(std::span<int16_t> samples);
    // Waits until `count` samples are ready, the recording has ended or
    // `deadline` passes; answers whether `count` samples are ready.
    bool waitFor(size_t count, Deadline deadline);
    // Whether every sample of the recording has been taken.
    bool finished();

private:
    struct State;
    explicit RecordingReader(std::shared_ptr<State> state);
    const std::shared_ptr<State> state_;
};

}  // namespace platform::audio::desktop
