#include "platform/audio/desktop/SndfileWriter.h"

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <limits>

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
    SndfileWavWriter(std::filesystem::path target, std::filesystem::path temporary, SNDFILE* file, uint16_t channels)
        : target_(std::move(target)), temporary_(std::move(temporary)), file_(file), channels_(channels) {}

    ~SndfileWavWriter() override {
        if (file_) abandon();
    }

    bool write(std::span<const int16_t> samples) override {
        if (!file_) return fail("the file is finished already");
        if (samples.size() % channels_ != 0) return fail("a partial frame");
        dataBytes_ += samples.size() * sizeof(int16_t);
        if (dataBytes_ > kMaxDataBytes) return fail("the recording is too long for a WAV file");
        const auto count = static_cast<sf_count_t>(samples.size());
        if (sf_write_short(file_, samples.data(), count) != count) {
            return fail(std::string("cannot write ") + temporary_.string() + ": " + sf_strerror(file_));
        }
        return true;
    }

    bool finish() override {
        if (!file_) return fail("the file is finished already");
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
            ::unlink(temporary_.c_str());
            return fail("cannot complete " + target_.string());
        }
        if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
            const int renameErrno = errno;
            ::unlink(temporary_.c_str());
            return fail("cannot write " + target_.string() + ": " + std::strerror(renameErrno));
        }
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
        ::unlink(temporary_.c_str());
    }

    const std::filesystem::path target_;
    const std::filesystem::path temporary_;
    SNDFILE* file_;
    const uint16_t channels_;
    uint64_t dataBytes_ = 0;
    bool failed_ = false;
    std::string error_;
};

}  // namespace

std::unique_ptr<SoundFileWriter> makeSndfileWavWriter(const std::filesystem::path& path, uint32_t sampleRate,
                                                      uint16_t channels, std::string& error) {
    if (channels == 0 || sampleRate == 0 || sampleRate > static_cast<uint32_t>(std::numeric_limits<int>::max())) {
        error = "cannot write " + path.string() + ": no channels or no sample rate";
        return nullptr;
    }
    const std::filesystem::path temporary = temporaryBeside(path);
    const int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = "cannot write " + path.string() + ": " + std::strerror(errno);
        return nullptr;
    }
    SF_INFO info{};
    info.samplerate = static_cast<int>(sampleRate);
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, /*close_desc=*/SF_TRUE);
    if (!file) {
        error = "cannot write " + path.string() + ": " + sf_strerror(nullptr);
        // libsndfile has closed the descriptor it was handed.
        ::unlink(temporary.c_str());
        return nullptr;
    }
    return std::make_unique<SndfileWavWriter>(path, temporary, file, channels);
}

}  // namespace platform::audio::desktop
