#include "app/main_settings.h"

void LoadMainSettings(const TSettingsStore& store, TMainState& state) {
  state.OutputFormat = store.ReadInt(keys::FormatInt);
  state.OutputDir = store.Read(keys::FormatDir);
  state.NorVolume = store.ReadInt(keys::NorVol);
  state.FadeIn = store.ReadFlag(keys::FadeIn);
  state.FadeOut = store.ReadFlag(keys::FadeOut);
  state.FadeInTime = store.ReadInt(keys::FadeInTime);
  state.FadeOutTime = store.ReadInt(keys::FadeOutTime);
}

void SaveMainSettings(TSettingsStore& store, const TMainState& state) {
  store.Write(keys::FormatDir, state.OutputDir);
  store.WriteInt(keys::FormatInt, state.OutputFormat);
  store.WriteFlag(keys::FadeIn, state.FadeIn);
  store.WriteFlag(keys::FadeOut, state.FadeOut);
  store.WriteInt(keys::FadeInTime, state.FadeInTime);
  store.WriteInt(keys::FadeOutTime, state.FadeOutTime);
  store.WriteInt(keys::NorVol, state.NorVolume);
}
