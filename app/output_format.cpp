#include "app/output_format.h"

#include "app/main_state.h"
#include "platform/audio.h"
#include "settings/fixed_lists.h"
#include "settings/settings_store.h"

namespace {

// A stored list position is checked against its key's range by the store
// (outside it reads as the key's default); these lists are at least as long.
int32_t SampleRate(const TSettingsStore& store, const SettingKey& key) {
  return lists::SampleRates.at(static_cast<std::size_t>(store.ReadRunInt(key)));
}
int32_t Bitrate(const TSettingsStore& store, const SettingKey& key) {
  return lists::FullBitrates.at(static_cast<std::size_t>(store.ReadRunInt(key)));
}

constexpr int32_t WavSampleSizes[] = {8, 16};

void ConfigurePresets(const TSettingsStore& store, IAudioFile2LameEnc& encoder) {
  if (store.ReadFlag(keys::PresetOn)) encoder.SetPreset(store.ReadRunInt(keys::Preset) + 1);
  if (store.ReadFlag(keys::AltPresetOn)) encoder.SetAltPreset(store.ReadRunInt(keys::AltPreset) + 1);
}

void ConfigureMp3Properties(const TSettingsStore& store, IAudioFile2LameEnc& encoder) {
  encoder.SetWriteVbrHeader(store.ReadFlag(keys::VbrHeader));
  encoder.SetEnforceMinBitrate(store.ReadFlag(keys::VbrEnforceMin));
  encoder.SetCrc(store.ReadFlag(keys::Crc));
  encoder.SetAllowDiffShort(store.ReadFlag(keys::AllowDiffShort));
  encoder.SetBitReservoir(store.ReadFlag(keys::BitReservoir));
  encoder.SetShortBlocks(store.ReadFlag(keys::ShortBlocks));
  encoder.SetStrictIso(store.ReadFlag(keys::StrictIso));

  encoder.SetHighpassFreq(store.ReadFlag(keys::HighpassOn) ? store.ReadRunInt(keys::HighpassFreq) : -1);
  encoder.SetLowpassFreq(store.ReadFlag(keys::LowpassOn) ? store.ReadRunInt(keys::LowpassFreq) : -1);

  encoder.SetVbrMode(store.ReadRunInt(keys::VbrMethod) - 1);
  encoder.SetAthMode(store.ReadRunInt(keys::AthMode));

  const int32_t channel = store.ReadRunInt(keys::Mp3Channel);
  if (channel == 0)
    encoder.SetForceMono(1);
  else
    encoder.SetChannelMode(channel);

  encoder.SetDeemphasis(store.ReadRunInt(keys::Deemphasis));
  encoder.SetQuality(store.ReadRunInt(keys::Mp3Quality));

  encoder.SetBitrate(Bitrate(store, keys::Mp3Bitrate));
  encoder.SetVbrBitrate(Bitrate(store, keys::VbrBitrate));

  encoder.SetHighpassWidth(store.ReadRunInt(keys::HighpassWidth));
  encoder.SetLowpassWidth(store.ReadRunInt(keys::LowpassWidth));

  encoder.SetVbrQuality(store.ReadRunInt(keys::VbrQuality));
  encoder.SetOutputSampleRate(SampleRate(store, keys::Mp3Frequency));
}

void ConfigureMp3(const TSettingsStore& store, IAudioFile2& writer, IAudioFile2LameEnc& encoder,
                  const std::string& commandLine) {
  const bool presetMode = store.ReadFlag(keys::PresetOn) || store.ReadFlag(keys::AltPresetOn);
  if (presetMode)
    ConfigurePresets(store, encoder);
  else
    ConfigureMp3Properties(store, encoder);
  if (!commandLine.empty()) encoder.SetCommandLine(commandLine);
  writer.SetMp3Encoder(&encoder);
}

void ConfigureWav(const TSettingsStore& store, IAudioFile2& writer) {
  if (writer.IsOpen()) writer.Close();
  switch (store.ReadRunInt(keys::WavMode)) {
    case 0:  // CD quality
      writer.SetWavFormat(44100, 2, 16);
      break;
    case 1:  // best quality
      writer.SetWavFormat(48000, 2, 32);
      break;
    case 2:  // custom
      writer.SetWavFormat(SampleRate(store, keys::WavFrequency), store.ReadRunInt(keys::WavChannel) + 1,
                          WavSampleSizes[store.ReadRunInt(keys::WavBits)]);
      break;
    default:
      break;
  }
}

void ConfigureWma(const TSettingsStore& store, IAudioFile2& writer) {
  writer.SetWmaProfile(store.ReadRunInt(keys::WmaFormat) + 1);
}

void ConfigureOgg(const TSettingsStore& store, IAudioFile2& writer) {
  const int32_t rate = SampleRate(store, keys::OggFrequency);
  const int32_t channels = store.ReadRunInt(keys::OggChannel) + 1;
  const bool vbr = store.ReadFlag(keys::OggVbr);
  const bool qualityMode = store.ReadFlag(keys::OggQualityMode);
  if (!vbr && !qualityMode) writer.SetOggFormat(rate, channels, Bitrate(store, keys::OggBitrate), 0, 0, -1);
  if (qualityMode)
    writer.SetOggFormat(rate, channels, 0, 0, 0, static_cast<int16_t>(store.ReadRunInt(keys::OggQuality)));
  if (vbr)
    writer.SetOggFormat(rate, channels, Bitrate(store, keys::OggBitrate), Bitrate(store, keys::OggMinBitrate),
                        Bitrate(store, keys::OggMaxBitrate), -1);
}

void ConfigureVox(const TSettingsStore& store, IAudioFile2& writer) {
  writer.SetVoxFormat(SampleRate(store, keys::VoxRate));
}

}  // namespace

void ConfigureOutputFormat(int32_t format, const TSettingsStore& store, IAudioFile2& writer,
                           IAudioFile2LameEnc& encoder, const std::string& commandLine) {
  switch (format) {
    case FormatMp3:
      ConfigureMp3(store, writer, encoder, commandLine);
      break;
    case FormatWav:
      ConfigureWav(store, writer);
      break;
    case FormatWma:
      ConfigureWma(store, writer);
      break;
    case FormatOgg:
      ConfigureOgg(store, writer);
      break;
    case FormatVox:
      ConfigureVox(store, writer);
      break;
    default:
      break;
  }
}

std::string OutputExtension(int32_t format) {
  switch (format) {
    case FormatMp3: return ".mp3";
    case FormatWav: return ".wav";
    case FormatWma: return ".wma";
    case FormatOgg: return ".ogg";
    case FormatVox: return ".vox";
    default: return {};
  }
}
