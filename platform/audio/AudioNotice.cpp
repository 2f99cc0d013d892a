#include "platform/audio/AudioNotice.h"

#include <optional>

#include "platform/core/Installed.h"

namespace platform {
namespace {

struct NoticeState {
    std::string notice;
    AudioNoticeObserver observer;
};

Installed<NoticeState>& state() {
    static Installed<NoticeState> shared;
    return shared;
}

// The observer is called outside the lock, so it may read the notice again.
void change(const std::function<bool(std::string&)>& edit) {
    const std::optional<NoticeState> changed = state().with([&edit](NoticeState& shared) {
        return edit(shared.notice) ? std::optional<NoticeState>(shared) : std::nullopt;
    });
    if (changed && changed->observer) changed->observer(changed->notice);
}

}  // namespace

void setAudioNotice(const std::string& notice) {
    change([&](std::string& current) {
        if (current == notice) return false;
        current = notice;
        return true;
    });
}

void clearAudioNotice(const std::string& notice) {
    change([&](std::string& current) {
        if (current != notice || current.empty()) return false;
        current.clear();
        return true;
    });
}

std::string audioNotice() { return state().get().notice; }

void setAudioNoticeObserver(AudioNoticeObserver observer) {
    const std::string notice = state().with([&observer](NoticeState& shared) {
        shared.observer = observer;
        return shared.notice;
    });
    if (observer) observer(notice);
}

}  // namespace platform
