// The texts of the list's cells.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The text without the nine characters that file names may not hold on the
// desktops Tonvara shares files with: * ? | : / \ < > "
std::string CleanName(std::string_view text);
// hours:minutes:seconds, two digits each at least.
std::string FormatDuration(int32_t milliseconds);
// Megabytes rounded to 5 significant digits, written with 2 decimals: "3.52MB".
std::string SizeText(uint64_t bytes);
// " 单声" for one channel, " 立体声" for any other count.
std::string ChannelText(int32_t channels);
// Sample rate followed by " Hz".
std::string RateText(int32_t rate);
