// The settings file reader on any bytes: every key of the table read through
// the store, each value inside its key's range or the key's default; then one
// key written, which must read back and must leave every other value as it
// was.
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::vector<const SettingKey*> AllKeys() {
  std::vector<const SettingKey*> all(keys::MainWindowKeys.begin(), keys::MainWindowKeys.end());
  all.insert(all.end(), keys::EncoderKeys.begin(), keys::EncoderKeys.end());
  return all;
}

std::string Name(const SettingKey& key) { return std::string(key.section) + "/" + std::string(key.key); }

// Every value as the program reads it, checked against the key's range.
std::vector<std::string> ReadAll(const TSettingsStore& store, const std::vector<const SettingKey*>& all) {
  std::vector<std::string> values;
  for (const SettingKey* key : all) {
    switch (key->kind) {
      case SettingKind::String:
      case SettingKind::Folder: {
        const std::string v = store.Read(*key);
        if (v.size() > TSettingsStore::MaxStringLength) fuzz::Fail(Name(*key) + " reads longer than the limit");
        values.push_back(v);
        break;
      }
      case SettingKind::Boolean:
        values.push_back(store.ReadFlag(*key) ? "1" : "0");
        break;
      case SettingKind::Integer:
      case SettingKind::ListIndex:
        for (const std::int32_t v : {store.ReadInt(*key), store.ReadRunInt(*key)}) {
          if ((v < key->min || v > key->max) && v != key->def && v != key->runDef) {
            fuzz::Fail(Name(*key) + " reads outside its range: " + std::to_string(v));
          }
          values.push_back(std::to_string(v));
        }
        break;
    }
  }
  return values;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::QtApplication<QCoreApplication>();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<const SettingKey*> all = AllKeys();
  const std::string path = fuzz::WriteInput(data, size, "tonvara.ini");
  TSettingsStore store(path);
  const std::vector<std::string> before = ReadAll(store, all);
  (void)store.ReadString("Fuzz", "Text", "");

  // A key outside the table, so the values of the table stay as they were.
  const std::string value = "写入 value";
  try {
    store.WriteString("Fuzz", "Written", value);
  } catch (const SettingsWriteError& e) {
    fuzz::Fail(std::string("a write to a plain file was refused: ") + e.what());
  }
  if (fuzz::ScratchFileCount() != 1) fuzz::Fail("the settings write left a temporary file");
  if (store.ReadString("Fuzz", "Written", "") != value) fuzz::Fail("the written value does not read back");
  if (ReadAll(store, all) != before) fuzz::Fail("writing one key changed the value of another");
  return 0;
}
