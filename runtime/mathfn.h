#pragma once

namespace orvendale {

// The platform's double-precision math routines. They live in their own translation unit so
// that calls with constant arguments are made at run time, not folded by the compiler: the
// work loop measures these calls. (Do not build with link-time optimisation.)
double rtcLog(double x);
double rtcTan(double x);
double rtcCos(double x);
double rtcSin(double x);

}  // namespace orvendale
