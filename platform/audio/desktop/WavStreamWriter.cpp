#include "platform/audio/desktop/WavStreamWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/core/TerminalText.h"

namespace platform::audio::desktop {
namespace {

constexpr uint32_t kHeaderBytes = 44;
constexpr uint16_t kBytesPerSample = 2;

void appendLittleEndian(std::vector<uint8_t>& bytes, uint64_t value, int size) {
    for (int byte = 0; byte < size; ++byte) bytes.push_back(static_cast<uint8_t>(value >> (8 * byte)));
}

void appendText(std::vector<uint8_t>& bytes, const char (&text)[5]) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(text[i]));
}

// The canonical header: RIFF, the 16-byte "fmt " chunk of PCM, then "data".
std::vector<uint8_t> header(uint32_t sampleRate, uint16_t channels, uint32_t dataBytes) {
    std::vector<uint8_t> bytes;
    bytes.reserve(kHeaderBytes);
    appendText(bytes, "RIFF");
    appendLittleEndian(bytes, kHeaderBytes - 8 + dataBytes, 4);
    appendText(bytes, "WAVE");
    appendText(bytes, "fmt ");
    appendLittleEndian(bytes, 16, 4);
    appendLittleEndian(bytes, 1, 2);  // PCM
    appendLittleEndian(bytes, channels, 2);
    appendLittleEndian(bytes, sampleRate, 4);
    appendLittleEndian(bytes, uint64_t{sampleRate} * channels * kBytesPerSample, 4);
    appendLittleEndian(bytes, channels * kBytesPerSample, 2);
    appendLittleEndian(bytes, 8 * kBytesPerSample, 2);
    appendText(bytes, "data");
    appendLittleEndian(bytes, dataBytes, 4);
    return bytes;
}

bool writeAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

class WavStreamWriter final : public SoundFileWriter {
public:
    WavStreamWriter(int fd, std::string target, uint16_t channels, uint64_t frames)
        : fd_(fd), target_(std::move(target)), channels_(channels), framesDue_(frames) {}
    ~WavStreamWriter() override { ::close(fd_); }
    WavStreamWriter(const WavStreamWriter&) = delete;
    WavStreamWriter& operator=(const WavStreamWriter&) = delete;

    bool write(std::span<const int16_t> samples) override {
        if (finished_) return fail(terminalText("the file is finished already"));
        if (failed_) return false;
        if (samples.size() % channels_ != 0) return fail(terminalText("a partial frame"));
        const uint64_t frames = samples.size() / channels_;
        if (frames > framesDue_ - framesWritten_) return fail(terminalText("more frames than its header states"));
        bytes_.clear();
        for (const int16_t sample : samples) appendLittleEndian(bytes_, static_cast<uint16_t>(sample), 2);
        if (!writeAll(fd_, bytes_.data(), bytes_.size())) {
            return fail(terminalText("cannot write %@: %@", target_, std::strerror(errno)));
        }
        framesWritten_ += frames;
        return true;
    }

    bool finish() override {
        if (finished_) return fail(terminalText("the file is finished already"));
        finished_ = true;
        if (failed_) return false;
        if (framesWritten_ != framesDue_) {
            return fail(terminalText("cannot complete %@: %@ of the %@ frames its header states were written", target_,
                                     framesWritten_, framesDue_));
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

    const int fd_;
    const std::string target_;
    const uint16_t channels_;
    const uint64_t framesDue_;
    uint64_t framesWritten_ = 0;
    std::vector<uint8_t> bytes_;
    bool failed_ = false;
    bool finished_ = false;
    std::string error_;
};

}  // namespace

std::unique_ptr<SoundFileWriter> makeWavStreamWriter(int fd, const std::string& target, uint32_t sampleRate,
                                                     uint16_t channels, uint64_t frames, std::string& error) {
    const uint64_t dataBytes = frames * channels * kBytesPerSample;
    if (dataBytes > std::numeric_limits<uint32_t>::max() - kHeaderBytes) {
        ::close(fd);
        error = terminalText("cannot write %@: the recording is too long for a WAV file", target);
        return nullptr;
    }
    const std::vector<uint8_t> bytes = header(sampleRate, channels, static_cast<uint32_t>(dataBytes));
    if (!writeAll(fd, bytes.data(), bytes.size())) {
        error = terminalText("cannot write %@: %@", target, std::strerror(errno));
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<WavStreamWriter>(fd, target, channels, frames);
}

}  // namespace platform::audio::desktop
