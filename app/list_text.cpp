#include "app/list_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

std::string CleanName(std::string_view text) {
  static constexpr std::string_view Forbidden = "*?|:/\\<>\"";
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (Forbidden.find(c) == std::string_view::npos) out += c;
  return out;
}

std::string FormatDuration(int32_t milliseconds) {
  const int32_t s = milliseconds / 1000;
  const int32_t hours = s / 3600;
  const int32_t minutes = (s - hours * 3600) / 60;
  const int32_t seconds = s % 60;
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.2d:%.2d:%.2d", hours, minutes, seconds);
  return buf;
}

std::string SizeText(uint64_t bytes) {
  const double mb = static_cast<double>(bytes) / 1024.0 / 1024.0;
  // Round to 5 significant digits first, then show 2 decimals.
  char sig[64];
  std::snprintf(sig, sizeof sig, "%.4e", mb);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2fMB", std::strtod(sig, nullptr));
  return buf;
}

std::string ChannelText(int32_t channels) { return channels == 1 ? " 单声" : " 立体声"; }

std::string RateText(int32_t rate) { return std::to_string(rate) + " Hz"; }
