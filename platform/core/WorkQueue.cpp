#include "platform/core/WorkQueue.h"

#include <pthread.h>

namespace platform {

WorkQueue::WorkQueue(std::string name) : name_(std::move(name)), thread_([this] { drain(); }) {}

WorkQueue::~WorkQueue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

WorkQueue& WorkQueue::background() {
    static WorkQueue queue("background");
    return queue;
}

void WorkQueue::async(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(work));
    }
    changed_.notify_all();
}

void WorkQueue::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return pending_.empty() && !busy_; });
}

void WorkQueue::drain() {
    pthread_setname_np(pthread_self(), name_.substr(0, 15).c_str());
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || !pending_.empty(); });
        if (pending_.empty()) return;  // stopping, and nothing left to do
        auto work = std::move(pending_.front());
        pending_.pop_front();
        busy_ = true;
        lock.unlock();
        work();
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace platform
