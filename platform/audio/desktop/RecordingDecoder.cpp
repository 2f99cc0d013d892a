#include "platform/audio/desktop/RecordingDecoder.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/core/TerminalText.h"

namespace platform::audio::desktop {
namespace {

// Frames read from the file at a time.
constexpr sf_count_t kFramesPerRead = 8192;

// A descriptor for reading `path`, or why there is none worth reading.
int openForReading(const std::filesystem::path& path, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno == ENOENT ? terminalText("no such file") : terminalText("cannot be read (%@)", std::strerror(errno));
        return -1;
    }
    struct stat facts {};
    if (::fstat(fd, &facts) == 0) {
        const bool empty = S_ISREG(facts.st_mode) && facts.st_size == 0;
        if (S_ISDIR(facts.st_mode) || empty) {
            ::close(fd);
            error = empty ? terminalText("is empty") : terminalText("is a directory");
            return -1;
        }
    }
    return fd;
}

bool isPipe(int fd) { return ::lseek(fd, 0, SEEK_CUR) < 0 && errno == ESPIPE; }

// Why libsndfile could not open a file. Its own words, except where they
// mislead: for a regular file it can say "does not exist or is not a regular
// file (possibly a pipe?)" when it found no sound in a file too short or too
// damaged to hold any.
std::string openFailure(bool pipe, off_t size) {
    const std::string reason = sf_strerror(nullptr);
    if (pipe) {
        return terminalText(
            "cannot be read through a pipe (%@): FLAC and other formats that need seeking must be given as a file",
            reason);
    }
    if (reason.find("not a regular file") != std::string::npos) {
        return terminalText("is not a sound file (no sound found in its %@ bytes: it is too short or damaged)",
                            static_cast<int64_t>(size));
    }
    return terminalText("is not a sound file (%@)", reason);
}

// The frames a file's header states. libsndfile answers a WAV or AIFF file
// cut short with the frames actually there, and notes in its log the data
// size the header states: "data : 1179276 (should be 19956)". Where it does,
// the stated frames are the stated bytes in frames of the same size. A
// compressed file (ADPCM) packs a frame into less than a byte; its stated
// length is then not known, and what is there is what it holds.
int64_t statedFrames(SNDFILE* file, const SF_INFO& info) {
    if (info.frames <= 0) return info.frames;
    char log[8192] = {};
    sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
    for (const char* tag : {"\ndata : ", "\nSSND : "}) {
        const char* line = std::strstr(log, tag);
        long long stated = 0, present = 0;
        if (line && std::sscanf(line + std::strlen(tag), "%lld (should be %lld)", &stated, &present) == 2 &&
            present > 0 && stated > present) {
            const long long bytesPerFrame = std::llround(static_cast<double>(present) / static_cast<double>(info.frames));
            return bytesPerFrame >= 1 ? stated / bytesPerFrame : info.frames;
        }
    }
    return info.frames;
}

}  // namespace

void RecordingDecoder::FileCloser::operator()(sf_private_tag* file) const { sf_close(file); }

std::unique_ptr<RecordingDecoder> RecordingDecoder::open(const std::filesystem::path& path, std::string& error) {
    const int fd = openForReading(path, error);
    if (fd < 0) return nullptr;
    // The stream is looked at only through libsndfile, so nothing of a pipe's
    // start is lost to a look of our own.
    const bool pipe = isPipe(fd);
    SF_INFO info{};
    struct stat facts {};
    const off_t size = ::fstat(fd, &facts) == 0 ? facts.st_size : 0;
    std::unique_ptr<sf_private_tag, FileCloser> file(sf_open_fd(fd, SFM_READ, &info, SF_TRUE));
    if (!file) {
        error = openFailure(pipe, size);
        return nullptr;
    }
    if (info.channels <= 0 || !(info.samplerate > 0)) {
        error = terminalText("is not a sound file (no channels or no sample rate)");
        return nullptr;
    }
    const int64_t stated = statedFrames(file.get(), info);
    std::unique_ptr<RecordingDecoder> decoder(
        new RecordingDecoder(std::move(file), info.channels, info.samplerate, stated));
    decoder->decode(decoder->first_);
    if (decoder->first_.empty()) {
        error = terminalText("holds no sound");
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

bool RecordingDecoder::statesItsLength() const {
    // A stream whose length is not known (Ogg through a pipe) states the largest count.
    return statedFrames_ > 0 && statedFrames_ != SF_COUNT_MAX;
}

std::optional<double> RecordingDecoder::seconds() const {
    if (!statesItsLength()) return std::nullopt;
    return static_cast<double>(statedFrames_) / sampleRate_;
}

std::string RecordingDecoder::shortfall() const {
    if (!ended_ || !statesItsLength() || decodedFrames_ >= statedFrames_) return {};
    return terminalText("the recording ends early: %@ of %@ frames read", decodedFrames_, statedFrames_);
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
    decodedFrames_ = 0;
    ended_ = false;
    return true;
}

void RecordingDecoder::decode(std::vector<float>& piece) {
    piece.clear();
    // Read until the file gives nothing more: the header's frame count may
    // promise more than a truncated file holds.
    const sf_count_t got = sf_readf_float(file_.get(), frames_.data(), kFramesPerRead);
    if (got <= 0) {
        ended_ = true;
        return;
    }
    decodedFrames_ += got;
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
