// a * b / c without overflow, rounded to the nearest integer, halves away
// from zero. Used wherever a duration, a position or a progress is scaled.
#pragma once

#include <cstdint>

// For frame counts: the product of two 64-bit counts is formed in 128 bits
// (the 32-bit MulDiv overflows on long files). c must not be 0.
constexpr int64_t MulDiv64(int64_t a, int64_t b, int64_t c) {
  const __int128 num = static_cast<__int128>(a) * b;
  const bool negative = (num < 0) != (c < 0);
  const __int128 an = num < 0 ? -num : num;
  const __int128 ac = c < 0 ? -static_cast<__int128>(c) : c;
  const __int128 q = (an + ac / 2) / ac;
  return static_cast<int64_t>(negative ? -q : q);
}

// The 32-bit form; -1 when c is 0.
constexpr int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  return static_cast<int32_t>(MulDiv64(a, b, c));
}
