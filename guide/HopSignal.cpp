#include "guide/HopSignal.h"

#include <cerrno>

namespace guide {

HopSignal::HopSignal() { sem_init(&count_, /*shared between processes=*/0, 0); }

HopSignal::~HopSignal() { sem_destroy(&count_); }

void HopSignal::give() { sem_post(&count_); }

void HopSignal::take() {
    // A signal handled meanwhile wakes the wait without a hop: wait on.
    while (sem_wait(&count_) != 0 && errno == EINTR) {
    }
}

}  // namespace guide
