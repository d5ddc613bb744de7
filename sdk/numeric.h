// Doubles are equal within 1e-7; 1e30 marks a value that is not set.
#pragma once

#include <cmath>

constexpr double kDoubleTolerance = 1e-7;
constexpr double kValueNotSet = 1e30;

inline bool DoubleEquals(double a, double b) { return std::fabs(a - b) < kDoubleTolerance; }
