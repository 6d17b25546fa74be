#include "settings/settings_store.h"
TSettingsStore::TSettingsStore(const std::filesystem::path& name) : file_(name) {}
