// Turns the stored encoder settings of one output format into calls on the
// writer and, for MP3, on the encoder settings object. Read from the store at
// the moment of the call; nothing is cached between runs.
#pragma once

#include <cstdint>
#include <string>

class IAudioFile2;
class IAudioFile2LameEnc;
class TSettingsStore;

// format: 0 MP3, 1 WAV, 2 WMA, 3 OGG, 4 VOX; any other index configures
// nothing. `commandLine` is the settings dialog's current command-line text,
// passed to the encoder only when it is not empty. A failing call throws
// AudioError.
void ConfigureOutputFormat(int32_t format, const TSettingsStore& store, IAudioFile2& writer,
                           IAudioFile2LameEnc& encoder, const std::string& commandLine);

// ".mp3", ".wav", ".wma", ".ogg", ".vox"; empty for any other index.
std::string OutputExtension(int32_t format);
