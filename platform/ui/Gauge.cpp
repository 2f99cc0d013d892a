#include "platform/ui/Gauge.h"

#include <algorithm>
#include <cmath>

namespace platform {

void Gauge::setValue(std::optional<float> value, std::string_view spokenValue) {
    if (value == value_ && spokenValue == spokenValue_) return;
    value_ = value;
    spokenValue_.assign(spokenValue);
    notify(Change::Value);
}

void Gauge::setRange(float minimum, float maximum) {
    minimum_ = std::min(minimum, maximum);
    maximum_ = std::max(minimum, maximum);
    notify(Change::Value);
}

void Gauge::setZone(float halfWidth) {
    zone_ = std::abs(halfWidth);
    notify(Change::Value);
}

std::optional<float> Gauge::needlePosition() const {
    if (!value_) return std::nullopt;
    return std::clamp(*value_, minimum_, maximum_);
}

bool Gauge::isInZone() const {
    const float centre = (minimum_ + maximum_) / 2.0f;
    return value_ && std::abs(*value_ - centre) <= zone_;
}

}  // namespace platform
