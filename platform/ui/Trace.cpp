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
    // The latest value is the gauge's; a point added is a change even when that value stays.
    if (value == this->value() && spokenValue == this->spokenValue()) {
        notify(Change::Value);
    } else {
        setValue(value, spokenValue);
    }
}

void Trace::clearPoints() {
    first_ = 0;
    count_ = 0;
    notify(Change::Value);
}

}  // namespace platform
