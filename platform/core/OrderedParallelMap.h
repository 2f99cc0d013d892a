#pragma once
// Work over a stream of independent items on several threads at once, with
// the results handed on in the order of the items: the items are read, and
// the results used, on the calling thread; only the work itself runs on the
// pool's threads. A few items per thread are in flight at a time, so memory
// stays flat however long the stream is. A thread is started only once there
// is an item for it, and never more than kMostParallelJobs, so a short stream
// or a large number of jobs costs no more than the work needs. With one job
// nothing leaves the calling thread.

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace platform {

// The most threads a map starts, whatever number of jobs it is given: more
// cannot help on a desktop machine, and each may keep state of its own.
inline constexpr unsigned kMostParallelJobs = 64;

// `next(Item&)` fills the item it is given and answers false at the end;
// `work(unsigned worker, const Item&)` answers the item's Result (`worker`,
// below `jobs`, lets each thread keep state of its own); `use(const Result&)`
// receives the results in order.
template <typename Item, typename Result, typename Next, typename Work, typename Use>
void orderedParallelMap(unsigned jobs, Next&& next, Work&& work, Use&& use) {
    jobs = std::min(jobs, kMostParallelJobs);
    if (jobs <= 1) {
        Item item{};
        while (next(item)) use(work(0u, item));
        return;
    }
    struct Slot {
        Item item{};
        std::optional<Result> result;
    };
    const size_t window = 4 * static_cast<size_t>(jobs);
    std::vector<Slot> slots(window);
    std::mutex mutex;
    std::condition_variable readyForWork;
    std::condition_variable resultReady;
    uint64_t readCount = 0;  // items read so far
    uint64_t taken = 0;   // items taken up by a worker
    bool ended = false;   // no more items will come

    std::vector<std::jthread> workers;
    // Whatever way the calling thread leaves, the workers end and are joined.
    struct EndWorkers {
        std::mutex& mutex;
        std::condition_variable& readyForWork;
        bool& ended;
        std::vector<std::jthread>& workers;
        ~EndWorkers() {
            {
                const std::lock_guard lock(mutex);
                ended = true;
            }
            readyForWork.notify_all();
            workers.clear();
        }
    } endWorkers{mutex, readyForWork, ended, workers};

    const auto startWorker = [&] {
        const auto worker = static_cast<unsigned>(workers.size());
        workers.emplace_back([&, worker] {
            std::unique_lock lock(mutex);
            for (;;) {
                readyForWork.wait(lock, [&] { return taken < readCount || ended; });
                if (taken == readCount) return;
                Slot& slot = slots[taken++ % window];
                lock.unlock();
                Result result = work(worker, slot.item);
                lock.lock();
                slot.result = std::move(result);
                resultReady.notify_one();
            }
        });
    };

    uint64_t used = 0;
    bool more = true;
    for (;;) {
        // A slot is free again once its result has been used.
        while (more && readCount - used < window) {
            Slot& slot = slots[readCount % window];
            if (!next(slot.item)) {
                more = false;
                break;
            }
            {
                const std::lock_guard lock(mutex);
                ++readCount;
            }
            if (workers.size() < jobs && workers.size() < readCount) startWorker();
            readyForWork.notify_one();
        }
        if (used == readCount) break;
        Slot& oldest = slots[used % window];
        {
            std::unique_lock lock(mutex);
            resultReady.wait(lock, [&] { return oldest.result.has_value(); });
        }
        use(*oldest.result);
        oldest.result.reset();
        ++used;
    }
}

}  // namespace platform
