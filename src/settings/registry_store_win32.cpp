// The registry behind the store port; see registry_store_win32.h.
#include "settings/registry_store_win32.h"

#include <vector>

#include "base/win32_handles_win32.h"

namespace {

class TRegistryKey final : public TQD_StoreKey {
 public:
  explicit TRegistryKey(TQD_RegKey AKey) : FKey(std::move(AKey)) {}

  bool ValueExists(const std::string& AName) const override {
    return RegQueryValueExW(FKey.Get(), Utf8ToWide(AName).c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  }

  std::optional<uint32_t> ReadDWord(const std::string& AName) const override {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    // A longer value fails with ERROR_MORE_DATA, a shorter one shows in size:
    // anything but exactly four bytes of REG_DWORD is not an integer of ours.
    LSTATUS rc = RegQueryValueExW(FKey.Get(), Utf8ToWide(AName).c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return std::nullopt;
    return static_cast<uint32_t>(value);
  }

  std::optional<std::string> ReadString(const std::string& AName) const override {
    const std::wstring name = Utf8ToWide(AName);
    std::vector<wchar_t> buffer(64);
    for (;;) {
      DWORD type = 0;
      DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
      LSTATUS rc = RegQueryValueExW(FKey.Get(), name.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(buffer.data()), &size);
      if (rc == ERROR_MORE_DATA) {
        // The value may grow between calls; ask again with what it needs now.
        buffer.resize(size / sizeof(wchar_t) + 1);
        continue;
      }
      if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
      // Stored strings need not end in a NUL, and the size may even be odd:
      // take the whole characters received and stop at the first NUL among them.
      size_t count = size / sizeof(wchar_t);
      size_t length = 0;
      while (length < count && buffer[length] != L'\0') ++length;
      return WideToUtf8(buffer.data(), length);
    }
  }

  bool WriteDWord(const std::string& AName, uint32_t AValue) override {
    DWORD value = AValue;
    return RegSetValueExW(FKey.Get(), Utf8ToWide(AName).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
  }

  bool WriteString(const std::string& AName, const std::string& AValue) override {
    const std::wstring data = Utf8ToWide(AValue);
    // REG_SZ data includes its terminating NUL.
    return RegSetValueExW(FKey.Get(), Utf8ToWide(AName).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }

  bool DeleteValue(const std::string& AName) override {
    return RegDeleteValueW(FKey.Get(), Utf8ToWide(AName).c_str()) == ERROR_SUCCESS;
  }

 private:
  TQD_RegKey FKey;
};

}  // namespace

std::unique_ptr<TQD_StoreKey> TQD_RegistryStoreWin32::OpenKey(const std::string& AKey, bool ACreate) {
  const std::wstring path = Utf8ToWide(AKey);
  HKEY key = nullptr;
  LSTATUS rc = ACreate ? RegCreateKeyExW(FRoot, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
                       : RegOpenKeyExW(FRoot, path.c_str(), 0, KEY_READ | KEY_WRITE, &key);
  if (rc != ERROR_SUCCESS) return nullptr;
  return std::make_unique<TRegistryKey>(TQD_RegKey(key));
}
