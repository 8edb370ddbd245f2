// The store port kept in memory: what native tests run the settings, colour
// table and custom readings lists against. It models what those callers can
// tell apart in the registry: keys that exist or not (created with their
// parents), case-insensitive key and value names, values of other types or
// sizes than expected, and keys that cannot be opened.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/key_value_store.h"

enum class TQD_MemoryValueType { String, ExpandString, DWord, Binary };

struct TQD_MemoryValue {
  TQD_MemoryValueType Type = TQD_MemoryValueType::String;
  std::string Data;  // raw bytes: UTF-8 text, or a little-endian DWORD

  static TQD_MemoryValue FromString(std::string AText) { return {TQD_MemoryValueType::String, std::move(AText)}; }
  static TQD_MemoryValue FromDWord(uint32_t AValue);
};

class TQD_MemoryKeyValueStore final : public TQD_KeyValueStore {
 public:
  std::unique_ptr<TQD_StoreKey> OpenKey(const std::string& AKey, bool ACreate) override;

  // Setup and inspection for tests; they reach locked keys too.
  bool KeyExists(const std::string& AKey) const;
  std::vector<std::string> ValueNames(const std::string& AKey) const;  // as written, sorted case-insensitively
  std::optional<TQD_MemoryValue> RawValue(const std::string& AKey, const std::string& AName) const;
  void SetRawValue(const std::string& AKey, const std::string& AName, TQD_MemoryValue AValue);
  // A locked key fails every open, as a key without access rights does.
  void SetKeyLocked(const std::string& AKey, bool ALocked);
  int KeyCount() const { return static_cast<int>(FKeys.size()); }

  struct TEntry {
    std::string Name;  // the name as last written
    TQD_MemoryValue Value;
  };
  struct TKey {
    std::map<std::string, TEntry> Values;  // by folded name
    bool Locked = false;
  };

 private:
  TKey* Find(const std::string& AKey);
  const TKey* Find(const std::string& AKey) const;
  TKey& Create(const std::string& AKey);

  std::map<std::string, TKey> FKeys;  // by folded path; map nodes stay put, so open keys may point into it
};
