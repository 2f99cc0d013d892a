#include "platform/audio/desktop/RecordingReader.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace platform::audio::desktop {
namespace {

// Samples read at a time, and how many the reader keeps ready: a second at
// the capture rate, far more than a hand-over takes.
constexpr size_t kPieceSamples = 2048;
constexpr size_t kReadyAhead = 16384;
// The reader sleeps until fewer than this are ready, then reads up to
// kReadyAhead at once: woken every few dozen hand-overs, not at each.
constexpr size_t kRefillBelow = kReadyAhead / 2;

}  // namespace

// Shared by the reader object and its thread, which may outlive it.
struct RecordingReader::State {
    std::unique_ptr<RecordingStream> stream;
    std::shared_ptr<std::mutex> decoderUse;
    std::function<void(const std::string&)> ended;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<int16_t> ready;
    bool atEnd = false;
    bool stopped = false;

    // The reader's thread.
    void run() {
        {
            const std::lock_guard use(*decoderUse);
            stream->rewind();
        }
        std::vector<int16_t> piece(kPieceSamples);
        for (;;) {
            {
                std::unique_lock lock(mutex);
                if (ready.size() >= kReadyAhead) {
                    changed.wait(lock, [this] { return stopped || ready.size() < kRefillBelow; });
                }
                if (stopped) return;
            }
            size_t count;
            {
                const std::lock_guard use(*decoderUse);
                count = stream->read(piece);
            }
            {
                const std::lock_guard lock(mutex);
                ready.insert(ready.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(count));
                atEnd = count < piece.size();
            }
            changed.notify_all();
            if (count < piece.size()) break;
        }
        if (ended) ended(stream->error().empty() ? stream->shortfall() : stream->error());
    }
};

std::shared_ptr<RecordingReader> RecordingReader::start(std::unique_ptr<RecordingStream> stream,
                                                        std::shared_ptr<std::mutex> decoderUse,
                                                        std::function<void(const std::string& error)> ended) {
    auto state = std::make_shared<State>();
    state->stream = std::move(stream);
    state->decoderUse = std::move(decoderUse);
    state->ended = std::move(ended);
    std::thread([state] { state->run(); }).detach();
    return std::shared_ptr<RecordingReader>(new RecordingReader(std::move(state)));
}

RecordingReader::RecordingReader(std::shared_ptr<State> state) : state_(std::move(state)) {}

RecordingReader::~RecordingReader() {
    {
        const std::lock_guard lock(state_->mutex);
        state_->stopped = true;
    }
    state_->changed.notify_all();
}

size_t RecordingReader::take(std::span<int16_t> samples) {
    size_t count;
    {
        const std::lock_guard lock(state_->mutex);
        count = std::min(samples.size(), state_->ready.size());
        const auto end = state_->ready.begin() + static_cast<std::ptrdiff_t>(count);
        std::copy(state_->ready.begin(), end, samples.begin());
        state_->ready.erase(state_->ready.begin(), end);
        if (state_->ready.size() >= kRefillBelow) return count;
    }
    state_->changed.notify_all();
    return count;
}

bool RecordingReader::waitFor(size_t count, Deadline deadline) {
    std::unique_lock lock(state_->mutex);
    const auto readyOrEnded = [&] { return state_->atEnd || state_->ready.size() >= count; };
    if (deadline == Deadline::max()) {
        state_->changed.wait(lock, readyOrEnded);
    } else {
        state_->changed.wait_until(lock, deadline, readyOrEnded);
    }
    return state_->ready.size() >= count;
}

bool RecordingReader::finished() {
    const std::lock_guard lock(state_->mutex);
    return state_->atEnd && state_->ready.empty();
}

}  // namespace platform::audio::desktop
