#include "guide/CoursePitch.h"

#include <cmath>

namespace guide {

double centsBetween(double hertz, double reference) { return 1200.0 * std::log2(hertz / reference); }

std::optional<CoursePitch> nearestCourse(std::span<const CoursePitch> courses, double hertz, double cents) {
    if (!(hertz > 0.0) || !std::isfinite(hertz)) return std::nullopt;
    std::optional<CoursePitch> nearest;
    double nearestCents = cents;
    for (const CoursePitch& course : courses) {
        const double offset = std::abs(centsBetween(hertz, course.hertz));
        if (offset <= nearestCents) {
            nearest = course;
            nearestCents = offset;
        }
    }
    return nearest;
}

}  // namespace guide
