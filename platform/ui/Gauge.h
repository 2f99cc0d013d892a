#pragma once
// A needle over a scale: a value between the scale's two ends, with a zone
// marked around its centre, or no value at all (the needle is not drawn). A
// value beyond an end pins the needle there; the value itself is kept. The
// gauge is lit while its value lies within the zone, and carries a text a
// screen reader says for it ("-20.0 cents, tune up").

#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/View.h"

namespace platform {

class Gauge : public Visitable<Gauge, View> {
public:
    const std::optional<float>& value() const { return value_; }
    // The value and the text read out for it, together: they change as one.
    // The text is copied into the gauge's own, which keeps its storage.
    void setValue(std::optional<float> value, std::string_view spokenValue);
    const std::string& spokenValue() const { return spokenValue_; }
    // What a screen reader calls the gauge ("Tuning needle") is the view's
    // accessibility label.

    float minimumValue() const { return minimum_; }
    float maximumValue() const { return maximum_; }
    void setRange(float minimum, float maximum);
    // Half the width of the marked zone around the scale's centre.
    float zone() const { return zone_; }
    void setZone(float halfWidth);

    // Where the needle stands: the value held within the scale's ends.
    std::optional<float> needlePosition() const;
    // Whether there is a value and it lies within the zone.
    bool isInZone() const;

private:
    std::optional<float> value_;
    std::string spokenValue_;
    float minimum_ = -1.0f;
    float maximum_ = 1.0f;
    float zone_ = 0.0f;
};

}  // namespace platform
