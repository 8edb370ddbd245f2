// The store port on Windows: keys below HKEY_CURRENT_USER (or below any open
// key, which is how the tests keep to a private key of their own).
#pragma once

#include <windows.h>

#include <utility>

#include "settings/key_value_store.h"

// An open registry key, closed with RegCloseKey. Predefined roots are never closed.
class TQD_RegKey {
 public:
  TQD_RegKey() = default;
  explicit TQD_RegKey(HKEY AKey) : FKey(AKey) {}
  ~TQD_RegKey() { Reset(); }
  TQD_RegKey(TQD_RegKey&& A) noexcept : FKey(std::exchange(A.FKey, nullptr)) {}
  TQD_RegKey& operator=(TQD_RegKey&& A) noexcept {
    if (this != &A) {
      Reset();
      FKey = std::exchange(A.FKey, nullptr);
    }
    return *this;
  }
  HKEY Get() const { return FKey; }
  explicit operator bool() const { return FKey != nullptr; }
  void Reset() {
    if (FKey) RegCloseKey(FKey);
    FKey = nullptr;
  }

 private:
  HKEY FKey = nullptr;
};

class TQD_RegistryStoreWin32 final : public TQD_KeyValueStore {
 public:
  // Keys are opened below ARoot, which the store does not own.
  explicit TQD_RegistryStoreWin32(HKEY ARoot = HKEY_CURRENT_USER) : FRoot(ARoot) {}
  std::unique_ptr<TQD_StoreKey> OpenKey(const std::string& AKey, bool ACreate) override;

 private:
  HKEY FRoot;
};
