#pragma once
// A serial queue of work run in order of arrival on a thread of its own:
// the shared background queue and the operation queues of the system.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace platform {

class WorkQueue {
public:
    explicit WorkQueue(std::string name);
    ~WorkQueue();  // finishes the work already queued
    WorkQueue(const WorkQueue&) = delete;
    WorkQueue& operator=(const WorkQueue&) = delete;

    // The process's shared background queue.
    static WorkQueue& background();

    // Any thread.
    void async(std::function<void()> work);
    // Any thread but the queue's own: returns once everything queued so far has run.
    void waitUntilIdle();
    const std::string& name() const { return name_; }

private:
    void drain();

    const std::string name_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> pending_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace platform
