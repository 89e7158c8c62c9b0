#pragma once
// Numbers and texts: the framework's conversions and global functions.
#include <cstdint>
#include <string>
#include <string_view>

// Double to 32-bit integer: truncation toward zero, saturating; NaN gives 0.
int32_t RuntimeCvtReal64ToSInt32(double value);
inline double RuntimeCvtSInt32ToReal64(int32_t value) { return static_cast<double>(value); }

// The number a text begins with (leading blanks, sign, digits, fraction,
// exponent; C locale); 0.0 when it begins with no number.
double Val(std::string_view text);
// Plain decimal digits, no grouping.
std::string Str(int32_t value);
// The number written by a pattern of '#', '0', ',' and '.': '0' forces a
// digit, ',' groups the integral digits by three.
std::string Format(double value, std::string_view pattern);

double Ceil(double value);
double Floor(double value);
// Half away from zero.
double Round(double value);

// The tick count: 60 per second on a monotonic clock, wrapping at 32 bits.
int32_t Ticks();
