// The registry functions over the store port; see key_value_store.h.
#include "settings/key_value_store.h"

bool RegReadBool(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName,
                 bool ADefault) {
  auto key = AStore.OpenKey(AKey, false);
  if (!key) return ADefault;
  auto value = key->ReadDWord(AName);
  return value ? *value != 0 : ADefault;
}

int32_t RegReadInteger(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName,
                       int32_t ADefault) {
  auto key = AStore.OpenKey(AKey, true);
  if (!key) return ADefault;
  auto value = key->ReadDWord(AName);
  // A DWORD holds the integer's two's-complement bits: -1 is stored as 0xFFFFFFFF.
  return value ? static_cast<int32_t>(*value) : ADefault;
}

std::optional<std::string> RegTryReadString(TQD_KeyValueStore& AStore, const std::string& AKey,
                                            const std::string& AName) {
  auto key = AStore.OpenKey(AKey, true);
  if (!key) return std::nullopt;
  return key->ReadString(AName);
}

std::string RegReadString(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName,
                          const std::string& ADefault) {
  auto value = RegTryReadString(AStore, AKey, AName);
  return value ? std::move(*value) : ADefault;
}

void RegWriteBool(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName, bool AValue) {
  if (auto key = AStore.OpenKey(AKey, true)) key->WriteDWord(AName, AValue ? 1u : 0u);
}

void RegWriteInteger(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName,
                     int32_t AValue) {
  if (auto key = AStore.OpenKey(AKey, true)) key->WriteDWord(AName, static_cast<uint32_t>(AValue));
}

void RegWriteString(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName,
                    const std::string& AValue) {
  if (auto key = AStore.OpenKey(AKey, true)) key->WriteString(AName, AValue);
}

bool RegDeleteStoreValue(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName) {
  auto key = AStore.OpenKey(AKey, true);
  return key && key->ValueExists(AName) && key->DeleteValue(AName);
}

bool RegValueExists(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName) {
  auto key = AStore.OpenKey(AKey, true);
  return key && key->ValueExists(AName);
}
