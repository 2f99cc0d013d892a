#include "platform/audio/WavWriter.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

namespace platform {
namespace {

constexpr uint32_t kHeaderBytes = 44;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint16_t kPcmFormat = 1;
// The RIFF size field counts everything after its own 8 bytes in 32 bits.
constexpr uint64_t kMaxDataBytes = std::numeric_limits<uint32_t>::max() - (kHeaderBytes - 8);
constexpr long kRiffSizeOffset = 4;
constexpr long kDataSizeOffset = 40;

// WAV files are little-endian whatever the machine.
void put16(std::vector<unsigned char>& out, uint16_t value) {
    out.push_back(static_cast<unsigned char>(value & 0xff));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void put32(std::vector<unsigned char>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<unsigned char>((value >> shift) & 0xff));
}

void putTag(std::vector<unsigned char>& out, const char (&tag)[5]) { out.insert(out.end(), tag, tag + 4); }

std::vector<unsigned char> header(uint32_t sampleRate, uint16_t channels, uint32_t dataBytes) {
    const uint16_t blockAlign = static_cast<uint16_t>(channels * (kBitsPerSample / 8));
    std::vector<unsigned char> out;
    out.reserve(kHeaderBytes);
    putTag(out, "RIFF");
    put32(out, dataBytes + (kHeaderBytes - 8));
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, kPcmFormat);
    put16(out, channels);
    put32(out, sampleRate);
    put32(out, sampleRate * blockAlign);
    put16(out, blockAlign);
    put16(out, kBitsPerSample);
    putTag(out, "data");
    put32(out, dataBytes);
    return out;
}

std::string describe(const std::filesystem::path& path, const char* what) {
    return "cannot " + std::string(what) + " " + path.string() + ": " + std::strerror(errno);
}

}  // namespace

std::unique_ptr<WavWriter> WavWriter::create(const std::filesystem::path& path, uint32_t sampleRate,
                                             uint16_t channels, std::string& error) {
    const uint64_t bytesPerSecond = uint64_t{sampleRate} * channels * (kBitsPerSample / 8);
    if (channels == 0 || sampleRate == 0 || bytesPerSecond > std::numeric_limits<uint32_t>::max()) {
        error = "a WAV file needs one or more channels and a sample rate it can describe";
        return nullptr;
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = describe(path, "create");
        return nullptr;
    }
    // Written with sizes of 0 until finish() knows them.
    const auto bytes = header(sampleRate, channels, 0);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        error = describe(path, "write");
        return nullptr;
    }
    return std::unique_ptr<WavWriter>(new WavWriter(std::move(file), path, channels));
}

bool WavWriter::fail(const std::string& what) {
    error_ = what;
    file_.reset();
    return false;
}

bool WavWriter::write(std::span<const int16_t> samples) {
    if (!file_) return false;
    if (samples.size() % channels_ != 0) return fail("a partial frame cannot be written");
    const uint64_t bytes = samples.size() * sizeof(int16_t);
    if (dataBytes_ + bytes > kMaxDataBytes) return fail(path_.string() + ": too long for a WAV file");
    std::vector<unsigned char> out;
    out.reserve(bytes);
    for (int16_t sample : samples) put16(out, static_cast<uint16_t>(sample));
    if (std::fwrite(out.data(), 1, out.size(), file_.get()) != out.size()) return fail(describe(path_, "write"));
    dataBytes_ += bytes;
    return true;
}

bool WavWriter::finish() {
    if (!file_) return false;
    std::vector<unsigned char> size;
    put32(size, static_cast<uint32_t>(dataBytes_ + (kHeaderBytes - 8)));
    put32(size, static_cast<uint32_t>(dataBytes_));
    std::FILE* file = file_.get();
    const bool sized = std::fseek(file, kRiffSizeOffset, SEEK_SET) == 0 && std::fwrite(size.data(), 1, 4, file) == 4 &&
                       std::fseek(file, kDataSizeOffset, SEEK_SET) == 0 &&
                       std::fwrite(size.data() + 4, 1, 4, file) == 4;
    if (!sized) return fail(describe(path_, "write"));
    if (std::fclose(file_.release()) != 0) return fail(describe(path_, "write"));
    return true;
}

}  // namespace platform
