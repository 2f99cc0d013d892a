#pragma once
// Recordings decoded in pieces: any file libsndfile reads (WAV, FLAC, Ogg,
// MP3, ...), from a path or through a pipe, its channels mixed down to one.
// Only one piece is held at a time, so memory does not grow with the
// recording's length. A damaged or truncated file gives what can be read of
// it; a file that holds no sound gives a reason instead.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sf_private_tag;

namespace platform::audio::desktop {

class RecordingDecoder {
public:
    // The recording at `path`, its first piece already read. On failure null,
    // and `error` says why in a few words ("no such file", "is empty", "is not
    // a sound file (...)").
    static std::unique_ptr<RecordingDecoder> open(const std::filesystem::path& path, std::string& error);
    ~RecordingDecoder();
    RecordingDecoder(const RecordingDecoder&) = delete;
    RecordingDecoder& operator=(const RecordingDecoder&) = delete;

    double sampleRate() const { return sampleRate_; }
    // The length the recording's header states, when it states one.
    std::optional<double> seconds() const;
    // Once the recording has ended short of the length its header states,
    // "the recording ends early: N of M frames read"; empty otherwise.
    std::string shortfall() const;

    // Replaces `piece` with the next stretch of the recording (±1.0 full
    // scale, the mean of the channels); empty at the end.
    void read(std::vector<float>& piece);
    // Back to the first sample; false (and nothing changes) when the
    // recording comes through a pipe and cannot go back.
    bool rewind();

private:
    struct FileCloser {
        void operator()(sf_private_tag* file) const;
    };
    RecordingDecoder(std::unique_ptr<sf_private_tag, FileCloser> file, int channels, double sampleRate,
                     int64_t statedFrames);
    void decode(std::vector<float>& piece);
    bool statesItsLength() const;

    std::unique_ptr<sf_private_tag, FileCloser> file_;
    const int channels_;
    const double sampleRate_;
    const int64_t statedFrames_;
    std::vector<float> frames_;  // one read's interleaved frames
    std::vector<float> first_;   // the first piece, read on opening and not yet handed out
    bool firstPending_ = true;
    bool handedOut_ = false;     // whether anything has been handed out since the start
    int64_t decodedFrames_ = 0;  // since the start
    bool ended_ = false;         // decoding has found the end
};

}  // namespace platform::audio::desktop
