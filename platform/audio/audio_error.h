// How the audio component words its errors: the file, then the cause.
#pragma once

#include <string>

#include "platform/audio.h"

namespace tonvara::audio {

[[noreturn]] inline void Fail(const std::string& file, const std::string& cause) {
  throw AudioError("“" + file + "”：" + cause);
}

}  // namespace tonvara::audio
