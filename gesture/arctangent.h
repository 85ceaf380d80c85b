// The arctangent that direction angles are taken with.
#pragma once

namespace sc {

// The two-argument arctangent of y/x in single precision: the float nearest the true angle, in
// [-pi, pi] with the signs of zeros and infinities as atan2f takes them. Computed here rather than by
// the C library so that every build gives the same angles, and so that it costs a few nanoseconds where
// a library's atan2f costs tens.
float arctangent(float y, float x);

} // namespace sc
