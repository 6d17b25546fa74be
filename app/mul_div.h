// a * b / c without overflow, rounded to the nearest integer, halves away
// from zero. Used wherever a duration, a position or a progress is scaled.
#pragma once

#include <cstdint>

constexpr int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t num = static_cast<int64_t>(a) * b;
  const bool negative = (num < 0) != (c < 0);
  const int64_t an = num < 0 ? -num : num;
  const int64_t ac = c < 0 ? -static_cast<int64_t>(c) : c;
  const int64_t q = (an + ac / 2) / ac;
  return static_cast<int32_t>(negative ? -q : q);
}
