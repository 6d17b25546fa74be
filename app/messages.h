// Texts that several commands show.
#pragma once

namespace messages {

// Refuses a command while a conversion or normalization runs.
inline constexpr const char* StopConversionFirst = "请首先停止转换!";
// Refuses a run or the preview on an empty list.
inline constexpr const char* AddFilesFirst = "请添加文件!";

}  // namespace messages
