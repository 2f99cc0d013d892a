#include "tuner/NeedleEase.h"

namespace tuner {

void NeedleEase::aim(float value, int course, float minimum, float maximum) {
    const auto onScale = [minimum, maximum](float v) { return v >= minimum && v <= maximum; };
    if (!shown_ || course != course_ || !onScale(value) || !onScale(*shown_)) shown_ = value;
    target_ = value;
    course_ = course;
    ticksLeft_ = kGlideTicks;
}

void NeedleEase::clear() { shown_.reset(); }

std::optional<float> NeedleEase::step() {
    if (!shown_ || ticksLeft_ == 0) return shown_;
    *shown_ += (target_ - *shown_) / static_cast<float>(ticksLeft_);
    if (--ticksLeft_ == 0) *shown_ = target_;
    return shown_;
}

}  // namespace tuner
