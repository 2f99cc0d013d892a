#include "platform/audio/AudioNotice.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/core/Installed.h"
#include "platform/core/TerminalText.h"

namespace platform {
namespace {

struct NoticeState {
    std::vector<std::string> notices;
    AudioNoticeObserver observer;
};

Installed<NoticeState>& state() {
    static Installed<NoticeState> shared;
    return shared;
}

// The observer is called outside the lock, so it may read the notices again.
void change(const std::function<bool(std::vector<std::string>&)>& edit) {
    const std::optional<NoticeState> changed = state().with([&edit](NoticeState& shared) {
        return edit(shared.notices) ? std::optional<NoticeState>(shared) : std::nullopt;
    });
    if (changed && changed->observer) changed->observer(changed->notices);
}

}  // namespace

void showAudioNotice(const std::string& notice) {
    if (notice.empty()) return;
    change([&](std::vector<std::string>& notices) {
        if (std::find(notices.begin(), notices.end(), notice) != notices.end()) return false;
        notices.push_back(notice);
        return true;
    });
}

void clearAudioNotice(const std::string& notice) {
    change([&](std::vector<std::string>& notices) {
        const auto found = std::find(notices.begin(), notices.end(), notice);
        if (found == notices.end()) return false;
        notices.erase(found);
        return true;
    });
}

std::vector<std::string> audioNotices() { return state().get().notices; }

void setAudioNoticeObserver(AudioNoticeObserver observer) {
    const std::vector<std::string> notices = state().with([&observer](NoticeState& shared) {
        shared.observer = observer;
        return shared.notices;
    });
    if (observer) observer(notices);
}

std::string tellOnStderrAndInWindow(const std::string& said) {
    tellOnStderr(said);
    std::string sentence = said;
    // The notices begin with a plain letter in either language.
    if (!sentence.empty()) sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
    showAudioNotice(sentence);
    return sentence;
}

}  // namespace platform
