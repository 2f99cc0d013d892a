#pragma once
// How the capture tells the guide's worker that a hop has come: a count of
// hops given on one thread and waited for on another. Giving never blocks
// nor takes a lock; waiting sleeps in the kernel until a hop is given, with
// no spinning on the way (the standard library's atomic waits and
// semaphores spin and yield first, which on a stream that rests most of the
// time is most of what the worker would cost).

#include <semaphore.h>

namespace guide {

class HopSignal {
public:
    HopSignal();
    ~HopSignal();
    HopSignal(const HopSignal&) = delete;
    HopSignal& operator=(const HopSignal&) = delete;

    // Any thread, the capture's included: one more hop to read.
    void give();
    // One thread at a time: returns once a hop given is there to take, and takes it.
    void take();

private:
    sem_t count_;
};

}  // namespace guide
