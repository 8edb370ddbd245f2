// The autostart entry bound to HKEY_CURRENT_USER and this executable; see autostart_win32.h.
#include "settings/autostart_win32.h"

#include <windows.h>

#include <vector>

#include "settings/autostart.h"
#include "settings/registry_store_win32.h"
#include "base/win32_handles_win32.h"

std::string RunningExecutablePath() {
  // GetModuleFileNameW truncates silently when the buffer is short; grow until it fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return WideToUtf8(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

bool IsAutostartRegistered() {
  TQD_RegistryStoreWin32 store;
  return IsAutostartRegistered(store, RunningExecutablePath());
}

void RegisterAutostart() {
  TQD_RegistryStoreWin32 store;
  RegisterAutostart(store, RunningExecutablePath());
}

void UnregisterAutostart() {
  TQD_RegistryStoreWin32 store;
  UnregisterAutostart(store);
}
