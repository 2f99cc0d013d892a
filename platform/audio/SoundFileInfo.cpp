#include "platform/audio/SoundFileInfo.h"

#include <array>
#include <cstring>
#include <fstream>
#include <vector>

namespace platform {
namespace {

using Bytes = std::vector<unsigned char>;

// Up to `count` bytes of `in` from `offset`; fewer at the end of the file.
Bytes readAt(std::ifstream& in, uint64_t offset, size_t count) {
    Bytes bytes(count);
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(in ? count : static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

bool startsWith(const Bytes& bytes, size_t at, const char* text) {
    const size_t length = std::strlen(text);
    return bytes.size() >= at + length && std::memcmp(bytes.data() + at, text, length) == 0;
}

uint32_t littleEndian(const Bytes& bytes, size_t at, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

uint32_t bigEndian32(const Bytes& bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) << 24 | static_cast<uint32_t>(bytes[at + 1]) << 16 |
           static_cast<uint32_t>(bytes[at + 2]) << 8 | static_cast<uint32_t>(bytes[at + 3]);
}

// --- RIFF/WAVE ---

constexpr uint32_t kWaveFormatPcm = 1;
constexpr uint32_t kWaveFormatFloat = 3;
constexpr uint32_t kWaveFormatExtensible = 0xFFFE;

std::optional<SoundFileInfo> waveInfo(std::ifstream& in, uint64_t fileSize) {
    std::optional<SoundFileInfo> format;
    uint32_t blockAlign = 0;
    std::optional<uint64_t> dataBytes;
    uint64_t offset = 12;  // after "RIFF", the size and "WAVE"
    while (offset + 8 <= fileSize && !(format && dataBytes)) {
        const Bytes header = readAt(in, offset, 8);
        if (header.size() < 8) break;
        const uint64_t size = littleEndian(header, 4, 4);
        const uint64_t body = offset + 8;
        if (startsWith(header, 0, "fmt ") && size >= 16) {
            const Bytes fmt = readAt(in, body, 16);
            if (fmt.size() < 16) return std::nullopt;
            const uint32_t tag = littleEndian(fmt, 0, 2);
            if (tag != kWaveFormatPcm && tag != kWaveFormatFloat && tag != kWaveFormatExtensible) return std::nullopt;
            format = SoundFileInfo{littleEndian(fmt, 4, 4), littleEndian(fmt, 2, 2), 0};
            blockAlign = littleEndian(fmt, 12, 2);
        } else if (startsWith(header, 0, "data")) {
            // A size beyond the end of the file (a recording cut short) counts what is there.
            dataBytes = std::min(size, fileSize - body);
        }
        offset = body + size + (size & 1);  // chunks are padded to even sizes
    }
    if (!format || !dataBytes || format->sampleRate == 0 || format->channels == 0 || blockAlign == 0) {
        return std::nullopt;
    }
    format->frames = *dataBytes / blockAlign;
    if (format->frames == 0) return std::nullopt;
    return format;
}

// --- MPEG audio layer III ---

struct MpegFrame {
    uint32_t sampleRate = 0;
    uint32_t channels = 0;
    uint32_t samplesPerFrame = 0;
    uint32_t length = 0;       // bytes, header included
    uint32_t sideInfoEnd = 0;  // where a Xing/Info tag would start
};

// The layer III frame whose header is the four bytes at `at`, if they are one.
std::optional<MpegFrame> mpegFrame(const Bytes& bytes, size_t at) {
    if (bytes.size() < at + 4) return std::nullopt;
    const unsigned char b1 = bytes[at + 1], b2 = bytes[at + 2], b3 = bytes[at + 3];
    if (bytes[at] != 0xFF || (b1 & 0xE0) != 0xE0) return std::nullopt;
    const unsigned version = (b1 >> 3) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
    const unsigned layer = (b1 >> 1) & 3;    // 1: layer III
    const unsigned bitrateIndex = b2 >> 4;
    const unsigned rateIndex = (b2 >> 2) & 3;
    if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return std::nullopt;
    static constexpr std::array<uint32_t, 15> kMpeg1Kbps{0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static constexpr std::array<uint32_t, 15> kMpeg2Kbps{0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static constexpr std::array<uint32_t, 3> kMpeg1Rates{44100, 48000, 32000};
    const bool mpeg1 = version == 3;
    const uint32_t bitrate = (mpeg1 ? kMpeg1Kbps : kMpeg2Kbps)[bitrateIndex] * 1000;
    const uint32_t sampleRate = kMpeg1Rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    const bool mono = (b3 >> 6) == 3;
    MpegFrame frame;
    frame.sampleRate = sampleRate;
    frame.channels = mono ? 1 : 2;
    frame.samplesPerFrame = mpeg1 ? 1152 : 576;
    frame.length = frame.samplesPerFrame / 8 * bitrate / sampleRate + ((b2 >> 1) & 1);
    frame.sideInfoEnd = 4 + (mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17));
    return frame;
}

// The frame count a Xing/Info frame at `at` announces, if it is one that does.
std::optional<uint64_t> announcedFrames(const Bytes& frame, const MpegFrame& header) {
    const size_t tag = header.sideInfoEnd;
    if (!startsWith(frame, tag, "Xing") && !startsWith(frame, tag, "Info")) return std::nullopt;
    if (frame.size() < tag + 12 || (bigEndian32(frame, tag + 4) & 1) == 0) return uint64_t{0};
    return bigEndian32(frame, tag + 8);
}

std::optional<SoundFileInfo> mp3Info(std::ifstream& in, uint64_t fileSize) {
    uint64_t offset = 0;
    const Bytes id3 = readAt(in, 0, 10);
    if (startsWith(id3, 0, "ID3") && id3.size() == 10) {
        uint64_t size = 0;
        for (size_t i = 6; i < 10; ++i) size = size << 7 | (id3[i] & 0x7F);
        offset = 10 + size + ((id3[5] & 0x10) ? 10 : 0);
    }
    std::optional<MpegFrame> first;
    uint64_t frames = 0;
    bool firstFrame = true;
    while (offset + 4 <= fileSize) {
        const Bytes header = readAt(in, offset, 4);
        const auto frame = mpegFrame(header, 0);
        if (!frame || offset + frame->length > fileSize) break;  // a trailing tag or a cut frame
        if (firstFrame) {
            firstFrame = false;
            first = frame;
            if (const auto announced = announcedFrames(readAt(in, offset, frame->length), *frame)) {
                // An encoder's summary frame, silent itself; its count, when it gives one, is exact.
                if (*announced > 0) {
                    frames = *announced;
                    break;
                }
                offset += frame->length;
                continue;
            }
        }
        ++frames;
        offset += frame->length;
    }
    if (!first || frames == 0) return std::nullopt;
    return SoundFileInfo{first->sampleRate, first->channels, frames * first->samplesPerFrame};
}

}  // namespace

std::optional<SoundFileInfo> soundFileInfo(const std::filesystem::path& file) {
    std::error_code error;
    const uint64_t fileSize = std::filesystem::file_size(file, error);
    if (error) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    const Bytes riff = readAt(in, 0, 12);
    if (startsWith(riff, 0, "RIFF") && startsWith(riff, 8, "WAVE")) return waveInfo(in, fileSize);
    return mp3Info(in, fileSize);
}

}  // namespace platform
