#include "platform/ui/Trace.h"

namespace platform {

void Trace::setSpan(double seconds) {
    span_ = seconds;
    notify(Change::Value);
}

void Trace::add(double time, std::optional<float> value, std::string_view spokenValue) {
    if (count_ == kCapacity) {
        first_ = (first_ + 1) % kCapacity;
        --count_;
    }
    points_[(first_ + count_) % kCapacity] = {time, value};
    ++count_;
    if (value) latestValueTime_ = time;
    // The latest value is the gauge's. A point added is a change even when
    // that value stays, unless the span shows nothing but gaps either way.
    if (value != this->value() || spokenValue != this->spokenValue()) {
        setValue(value, spokenValue);
    } else if (latestValueTime_ && time - *latestValueTime_ <= span_) {
        notify(Change::Value);
    }
}

void Trace::clearPoints() {
    first_ = 0;
    count_ = 0;
    latestValueTime_.reset();
    notify(Change::Value);
}

}  // namespace platform
