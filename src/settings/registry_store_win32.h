// The store port on Windows: keys below HKEY_CURRENT_USER (or below any open
// key, which is how the tests keep to a private key of their own).
#pragma once

#include <windows.h>

#include "base/win32_handles_win32.h"
#include "settings/key_value_store.h"

class TQD_RegistryStoreWin32 final : public TQD_KeyValueStore {
 public:
  // Keys are opened below ARoot, which the store does not own.
  explicit TQD_RegistryStoreWin32(HKEY ARoot = HKEY_CURRENT_USER) : FRoot(ARoot) {}
  std::unique_ptr<TQD_StoreKey> OpenKey(const std::string& AKey, bool ACreate) override;

 private:
  HKEY FRoot;
};
