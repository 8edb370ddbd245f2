// The settings store as Quendal sees it: keys of named values below one root
// (the current user's registry on Windows, a map in tests). The port is only
// "open a key, read or write a value"; the registry functions below it fix
// which calls create a missing key, which defaults apply, and what a value of
// an unexpected type means, once for every implementation.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Every key Quendal keeps lives under this one.
inline constexpr char QD_RegBaseKey[] = "Software\\Quendal";

// An open key; closing it is destroying the object.
class TQD_StoreKey {
 public:
  virtual ~TQD_StoreKey() = default;
  // Whether a value of that name exists, whatever its type.
  virtual bool ValueExists(const std::string& AName) const = 0;
  // nullopt when the value is missing or is not a 4-byte DWORD.
  virtual std::optional<uint32_t> ReadDWord(const std::string& AName) const = 0;
  // nullopt when the value is missing or is not a string.
  virtual std::optional<std::string> ReadString(const std::string& AName) const = 0;
  virtual bool WriteDWord(const std::string& AName, uint32_t AValue) = 0;
  virtual bool WriteString(const std::string& AName, const std::string& AValue) = 0;
  // True when the value existed and is gone.
  virtual bool DeleteValue(const std::string& AName) = 0;
};

class TQD_KeyValueStore {
 public:
  virtual ~TQD_KeyValueStore() = default;
  // AKey is a path below the store's root, parts separated by backslashes,
  // compared without regard to ASCII case. With ACreate a missing key (and its
  // missing parents) is created; nullptr when the key cannot be opened.
  virtual std::unique_ptr<TQD_StoreKey> OpenKey(const std::string& AKey, bool ACreate) = 0;
};

// The registry functions. Each opens the key, acts and closes it; when the key
// cannot be opened reads give ADefault and the rest do nothing (false).
// A value of the wrong type reads as missing.

// Never creates the key: reading a switch must not leave keys behind.
bool RegReadBool(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName,
                 bool ADefault);
// The following create the key when it is missing.
int32_t RegReadInteger(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName,
                       int32_t ADefault);
std::string RegReadString(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName,
                          const std::string& ADefault);
// As RegReadString, but tells a missing (or non-string) value apart from any default.
std::optional<std::string> RegTryReadString(TQD_KeyValueStore& AStore, const std::string& AKey,
                                            const std::string& AName);
void RegWriteBool(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName, bool AValue);
void RegWriteInteger(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName,
                     int32_t AValue);
void RegWriteString(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName,
                    const std::string& AValue);
// True when the value existed and was deleted.
bool RegDeleteStoreValue(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName);
// The same under the name of its siblings. <windows.h> #defines RegDeleteValue
// as RegDeleteValueW, so the alias is inline and also exists under the names
// the macro produces: it works whichever header came first.
inline bool RegDeleteValue(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName) {
  return RegDeleteStoreValue(AStore, AKey, AName);
}
#if defined(_WIN32) && !defined(RegDeleteValue)
inline bool RegDeleteValueW(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName) {
  return RegDeleteStoreValue(AStore, AKey, AName);
}
inline bool RegDeleteValueA(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName) {
  return RegDeleteStoreValue(AStore, AKey, AName);
}
#endif
bool RegValueExists(TQD_KeyValueStore& AStore, const std::string& AKey, const std::string& AName);
