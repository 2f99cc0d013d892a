#include "platform/audio/desktop/RecordingDecoder.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::audio::desktop {
namespace {

// Frames read from the file at a time.
constexpr sf_count_t kFramesPerRead = 8192;

// A descriptor for reading `path`, or why there is none worth reading.
int openForReading(const std::filesystem::path& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno == ENOENT ? std::string("no such file") : std::string("cannot be read (") + std::strerror(errno) + ")";
        return -1;
    }
    struct stat facts {};
    if (::fstat(fd, &facts) == 0) {
        const char* reason = S_ISDIR(facts.st_mode)                          ? "is a directory"
                             : S_ISREG(facts.st_mode) && facts.st_size == 0 ? "is empty"
                                                                             : nullptr;
        if (reason) {
            ::close(fd);
            error = reason;
            return -1;
        }
    }
    return fd;
}

bool isPipe(int fd) { return ::lseek(fd, 0, SEEK_CUR) < 0 && errno == ESPIPE; }

}  // namespace

void RecordingDecoder::FileCloser::operator()(sf_private_tag* file) const { sf_close(file); }

std::unique_ptr<RecordingDecoder> RecordingDecoder::open(const std::filesystem::path& path, std::string& error) {
    const int fd = openForReading(path, error);
    if (fd < 0) return nullptr;
    // The stream is looked at only through libsndfile, so nothing of a pipe's
    // start is lost to a look of our own.
    const bool pipe = isPipe(fd);
    SF_INFO info{};
    std::unique_ptr<sf_private_tag, FileCloser> file(sf_open_fd(fd, SFM_READ, &info, SF_TRUE));
    if (!file) {
        error = pipe ? std::string("cannot be read through a pipe (") + sf_strerror(nullptr) +
                           "): FLAC and other formats that need seeking must be given as a file"
                     : std::string("is not a sound file (") + sf_strerror(nullptr) + ")";
        return nullptr;
    }
    if (info.channels <= 0 || !(info.samplerate > 0)) {
        error = "is not a sound file (no channels or no sample rate)";
        return nullptr;
    }
    std::unique_ptr<RecordingDecoder> decoder(
        new RecordingDecoder(std::move(file), info.channels, info.samplerate, info.frames));
    decoder->decode(decoder->first_);
    if (decoder->first_.empty()) {
        error = "holds no sound";
        return nullptr;
    }
    return decoder;
}

RecordingDecoder::RecordingDecoder(std::unique_ptr<sf_private_tag, FileCloser> file, int channels, double sampleRate,
                                   int64_t statedFrames)
    : file_(std::move(file)),
      channels_(channels),
      sampleRate_(sampleRate),
      statedFrames_(statedFrames),
      frames_(static_cast<size_t>(kFramesPerRead) * static_cast<size_t>(channels)) {}

RecordingDecoder::~RecordingDecoder() = default;

std::optional<double> RecordingDecoder::seconds() const {
    // A stream whose length is not known (Ogg through a pipe) states the largest count.
    if (statedFrames_ <= 0 || statedFrames_ == SF_COUNT_MAX) return std::nullopt;
    return static_cast<double>(statedFrames_) / sampleRate_;
}

void RecordingDecoder::read(std::vector<float>& piece) {
    handedOut_ = true;
    if (firstPending_) {
        firstPending_ = false;
        piece.swap(first_);
        first_ = {};
        return;
    }
    decode(piece);
}

bool RecordingDecoder::rewind() {
    if (!handedOut_) return true;
    if (sf_seek(file_.get(), 0, SEEK_SET) != 0) return false;
    handedOut_ = false;
    return true;
}

void RecordingDecoder::decode(std::vector<float>& piece) {
    piece.clear();
    // Read until the file gives nothing more: the header's frame count may
    // promise more than a truncated file holds.
    const sf_count_t got = sf_readf_float(file_.get(), frames_.data(), kFramesPerRead);
    if (got <= 0) return;
    const auto channels = static_cast<size_t>(channels_);
    piece.resize(static_cast<size_t>(got));
    for (size_t frame = 0; frame < piece.size(); ++frame) {
        const float* first = frames_.data() + frame * channels;
        float sum = 0.0f;
        for (size_t channel = 0; channel < channels; ++channel) sum += first[channel];
        piece[frame] = sum / static_cast<float>(channels);
    }
}

}  // namespace platform::audio::desktop
