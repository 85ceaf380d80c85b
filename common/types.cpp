// The one distance between stroke points, shared by stroke collection and recognition.
#include "common/types.h"

#include <cmath>

namespace sc {

double distance(const GesturePoint& a, const GesturePoint& b) {
    const double dx = static_cast<double>(b.x) - static_cast<double>(a.x);
    const double dy = static_cast<double>(b.y) - static_cast<double>(a.y);
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace sc
