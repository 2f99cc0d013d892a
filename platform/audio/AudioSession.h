#pragma once
// The audio session: how the program means to use audio (its category, the
// category's options and the mode) and whether that use is active. On the
// desktop nothing arbitrates between programs, so the session only keeps what
// it is told; a test can make any of its calls fail to see how callers cope.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::string_view kAudioSessionCategorySoloAmbient = "SoloAmbient";
inline constexpr std::string_view kAudioSessionCategoryPlayback = "Playback";
inline constexpr std::string_view kAudioSessionCategoryPlayAndRecord = "PlayAndRecord";
// Option: play through the built-in speaker unless something else is plugged in.
inline constexpr uint64_t kAudioSessionCategoryOptionDefaultToSpeaker = 8;
inline constexpr std::string_view kAudioSessionModeDefault = "Default";
inline constexpr std::string_view kAudioSessionModeMeasurement = "Measurement";

struct AudioSessionError {
    std::string localizedDescription;
};

class AudioSession {
public:
    enum class Call { SetCategory, SetMode, SetActive };

    // The process's session; null only where a test has installed none.
    static std::shared_ptr<AudioSession> sharedInstance();
    static void setSharedInstance(std::shared_ptr<AudioSession> session);

    // Each call returns the error when it fails (and then changes nothing).
    [[nodiscard]] std::optional<AudioSessionError> setCategory(std::string_view category, uint64_t options = 0);
    [[nodiscard]] std::optional<AudioSessionError> setMode(std::string_view mode);
    [[nodiscard]] std::optional<AudioSessionError> setActive(bool active);

    std::string category() const;
    uint64_t categoryOptions() const;
    std::string mode() const;
    bool isActive() const;

    // From now on every `call` fails with this description; nothing: it succeeds again.
    void setFailure(Call call, std::optional<std::string> localizedDescription);

private:
    std::optional<AudioSessionError> failureOf(Call call) const;

    mutable std::mutex mutex_;
    std::string category_{kAudioSessionCategorySoloAmbient};
    uint64_t options_ = 0;
    std::string mode_{kAudioSessionModeDefault};
    bool active_ = false;
    std::optional<std::string> failures_[3];
};

}  // namespace platform
