#pragma once
// A tap on the captured sound: while one is installed, every running input
// queue hands it each piece of samples as the piece arrives, before the queue
// gathers the samples into its buffers, on the queue's hand-over thread. The
// queue's buffers, callback and meter go on exactly as before. (The phone
// platform taps its input node the same way.)

#include <cstdint>
#include <span>

namespace platform {

// Runs on a queue's hand-over thread, between two pieces of capture: it must
// do a fixed amount of work, allocate nothing and wait on no lock.
using AudioInputTapBlock = void (*)(void* userData, std::span<const int16_t> samples);

struct AudioInputTap {
    AudioInputTapBlock block = nullptr;
    void* userData = nullptr;
};

// Any thread but a queue's. Installs `tap` in place of the one before (an
// empty tap removes it). When it returns, no call into the replaced tap is
// running or will run.
void installAudioInputTap(AudioInputTap tap);

// Runs on a queue's hand-over thread: hands `samples` to the installed tap,
// without a lock and without waiting on an install.
void tapAudioInput(std::span<const int16_t> samples);

}  // namespace platform
