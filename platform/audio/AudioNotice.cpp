#include "platform/audio/AudioNotice.h"

#include <mutex>

namespace platform {
namespace {

struct NoticeState {
    std::mutex mutex;
    std::string notice;
    AudioNoticeObserver observer;
};

NoticeState& state() {
    static NoticeState shared;
    return shared;
}

// The observer is called outside the lock, so it may read the notice again.
void change(const std::function<bool(std::string&)>& edit) {
    NoticeState& shared = state();
    AudioNoticeObserver observer;
    std::string notice;
    {
        std::lock_guard lock(shared.mutex);
        if (!edit(shared.notice)) return;
        observer = shared.observer;
        notice = shared.notice;
    }
    if (observer) observer(notice);
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

std::string audioNotice() {
    std::lock_guard lock(state().mutex);
    return state().notice;
}

void setAudioNoticeObserver(AudioNoticeObserver observer) {
    std::string notice;
    {
        std::lock_guard lock(state().mutex);
        state().observer = observer;
        notice = state().notice;
    }
    if (observer) observer(notice);
}

}  // namespace platform
