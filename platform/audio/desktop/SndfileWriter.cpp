#include "platform/audio/desktop/SndfileWriter.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>

#include "platform/audio/desktop/WavStreamWriter.h"
#include "platform/core/RegularFile.h"
#include "platform/core/RemovedOnSignal.h"
#include "platform/core/TerminalText.h"

namespace platform::audio::desktop {
namespace {

// The largest data chunk a RIFF header can state, less the header itself.
constexpr uint64_t kMaxDataBytes = std::numeric_limits<uint32_t>::max() - 64;

std::filesystem::path temporaryBeside(const std::filesystem::path& target) {
    static std::atomic<unsigned> next{0};
    std::filesystem::path temporary = target;
    temporary += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(next++);
    return temporary;
}

class SndfileWavWriter final : public SoundFileWriter {
public:
    SndfileWavWriter(std::filesystem::path target, std::filesystem::path temporary,
                     std::unique_ptr<RemovedOnSignal> removedOnSignal, SNDFILE* file, uint16_t channels)
        : target_(std::move(target)),
          temporary_(std::move(temporary)),
          removedOnSignal_(std::move(removedOnSignal)),
          file_(file),
          channels_(channels) {}

    ~SndfileWavWriter() override {
        if (file_) abandon();
    }

    bool write(std::span<const int16_t> samples) override {
        if (!file_) return fail(terminalText("the file is finished already"));
        if (samples.size() % channels_ != 0) return fail(terminalText("a partial frame"));
        dataBytes_ += samples.size() * sizeof(int16_t);
        if (dataBytes_ > kMaxDataBytes) return fail(terminalText("the recording is too long for a WAV file"));
        const auto count = static_cast<sf_count_t>(samples.size());
        if (sf_write_short(file_, samples.data(), count) != count) {
            return fail(terminalText("cannot write %@: %@", temporary_.string(), sf_strerror(file_)));
        }
        return true;
    }

    bool finish() override {
        if (!file_) return fail(terminalText("the file is finished already"));
        if (failed_) {
            abandon();
            return false;
        }
        sf_write_sync(file_);
        const int closeError = sf_close(file_);
        file_ = nullptr;
        // libsndfile has closed its descriptor; the data reach the disk before the rename.
        const int fd = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
        const bool flushed = fd >= 0 && ::fsync(fd) == 0;
        if (fd >= 0) ::close(fd);
        if (closeError != 0 || !flushed) {
            discard();
            return fail(terminalText("cannot complete %@", target_.string()));
        }
        // Something else put at the name meanwhile is never replaced.
        if (!isRegularFileOrAbsent(target_)) {
            discard();
            return fail(terminalText("cannot write %@: it is no longer a regular file", target_.string()));
        }
        if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
            const int renameErrno = errno;
            discard();
            return fail(terminalText("cannot write %@: %@", target_.string(), std::strerror(renameErrno)));
        }
        removedOnSignal_.reset();
        return true;
    }

    const std::string& error() const override { return error_; }

private:
    bool fail(std::string what) {
        failed_ = true;
        error_ = std::move(what);
        return false;
    }

    void abandon() {
        sf_close(file_);
        file_ = nullptr;
        discard();
    }

    void discard() {
        ::unlink(temporary_.c_str());
        removedOnSignal_.reset();
    }

    const std::filesystem::path target_;
    const std::filesystem::path temporary_;
    // While the temporary file exists.
    std::unique_ptr<RemovedOnSignal> removedOnSignal_;
    SNDFILE* file_;
    const uint16_t channels_;
    uint64_t dataBytes_ = 0;
    bool failed_ = false;
    std::string error_;
};

// A file for the regular file (or nothing yet) at `target`, put in place whole when finished.
std::unique_ptr<SoundFileWriter> makeReplacingWriter(const std::filesystem::path& target, uint32_t sampleRate,
                                                     uint16_t channels, std::string& error) {
    removeTemporariesOfGoneProcesses(target);
    const std::filesystem::path temporary = temporaryBeside(target);
    // In place before the file exists, so that no signal can leave it behind.
    auto removedOnSignal = std::make_unique<RemovedOnSignal>(temporary, target.string());
    const int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = terminalText("cannot write %@: %@", target.string(), std::strerror(errno));
        return nullptr;
    }
    SF_INFO info{};
    info.samplerate = static_cast<int>(sampleRate);
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, /*close_desc=*/SF_TRUE);
    if (!file) {
        error = terminalText("cannot write %@: %@", target.string(), sf_strerror(nullptr));
        // libsndfile has closed the descriptor it was handed.
        ::unlink(temporary.c_str());
        return nullptr;
    }
    return std::make_unique<SndfileWavWriter>(target, temporary, std::move(removedOnSignal), file, channels);
}

// Why nothing is written to what is at `path`, when it is neither a regular
// file nor something a stream of bytes can go to.
std::optional<std::string> refusal(const struct stat& status) {
    if (S_ISDIR(status.st_mode)) return terminalText("it is a folder");
    if (S_ISBLK(status.st_mode)) return terminalText("it is a block device; a tone is never written over a disk");
    if (S_ISSOCK(status.st_mode)) return terminalText("it is a socket");
    return std::nullopt;
}

}  // namespace

std::unique_ptr<SoundFileWriter> makeSndfileWavWriter(const std::filesystem::path& path, uint32_t sampleRate,
                                                      uint16_t channels, uint64_t frames, std::string& error) {
    if (channels == 0 || sampleRate == 0 || sampleRate > static_cast<uint32_t>(std::numeric_limits<int>::max())) {
        error = terminalText("cannot write %@: no channels or no sample rate", path.string());
        return nullptr;
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode)) {
        return makeReplacingWriter(followLinks(path), sampleRate, channels, error);
    }
    if (const auto why = refusal(status)) {
        error = terminalText("cannot write %@: %@", path.string(), *why);
        return nullptr;
    }
    // A pipe, a FIFO, a terminal or /dev/null: written straight, front to back.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = terminalText("cannot write %@: %@", path.string(), std::strerror(errno));
        return nullptr;
    }
    return makeWavStreamWriter(fd, path.string(), sampleRate, channels, frames, error);
}

}  // namespace platform::audio::desktop
