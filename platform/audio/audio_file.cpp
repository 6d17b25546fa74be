// Placeholder until the codecs are wired in: every file operation fails clearly.
#include "platform/audio/audio_file.h"

namespace {
[[noreturn]] void Unavailable(const std::string& name) {
  throw AudioError(name + ": audio decoding and encoding are not available in this build");
}
}  // namespace

TAudioFile2::TAudioFile2() = default;
TAudioFile2::~TAudioFile2() = default;
void TAudioFile2::OpenRead(const std::string& name, int32_t, int32_t) { Unavailable(name); }
void TAudioFile2::OpenWrite(const std::string& name, int32_t) { Unavailable(name); }
void TAudioFile2::Close() {}
TSampleBlock TAudioFile2::ReadSamples(int64_t) { return {}; }
void TAudioFile2::WriteSamples(const TSampleBlock&) { Unavailable("output"); }
void TAudioFile2::SetInputFormat(int32_t, int32_t) {}
void TAudioFile2::SetWavFormat(int32_t, int32_t, int32_t) {}
void TAudioFile2::SetVoxFormat(int32_t) {}
void TAudioFile2::SetWmaProfile(int32_t) {}
void TAudioFile2::SetOggFormat(int32_t, int32_t, int32_t, int32_t, int32_t, int16_t) {}
void TAudioFile2::SetMp3Encoder(IAudioFile2LameEnc*) {}
