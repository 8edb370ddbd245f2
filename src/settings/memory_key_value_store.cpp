// The in-memory store; see memory_key_value_store.h.
#include "settings/memory_key_value_store.h"

namespace {

// Registry names compare without regard to case; ASCII folding is all Quendal's names need.
std::string Fold(const std::string& AText) {
  std::string folded = AText;
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

std::string FoldPath(const std::string& APath) {
  std::string path = Fold(APath);
  while (!path.empty() && path.front() == '\\') path.erase(path.begin());
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

class TMemoryKey final : public TQD_StoreKey {
 public:
  explicit TMemoryKey(TQD_MemoryKeyValueStore::TKey& AKey) : FKey(AKey) {}

  bool ValueExists(const std::string& AName) const override { return FKey.Values.count(Fold(AName)) != 0; }

  std::optional<uint32_t> ReadDWord(const std::string& AName) const override {
    auto it = FKey.Values.find(Fold(AName));
    if (it == FKey.Values.end()) return std::nullopt;
    const TQD_MemoryValue& v = it->second.Value;
    if (v.Type != TQD_MemoryValueType::DWord || v.Data.size() != 4) return std::nullopt;
    uint32_t result = 0;
    for (int i = 3; i >= 0; --i) result = result << 8 | static_cast<uint8_t>(v.Data[static_cast<size_t>(i)]);
    return result;
  }

  std::optional<std::string> ReadString(const std::string& AName) const override {
    auto it = FKey.Values.find(Fold(AName));
    if (it == FKey.Values.end()) return std::nullopt;
    const TQD_MemoryValue& v = it->second.Value;
    if (v.Type != TQD_MemoryValueType::String && v.Type != TQD_MemoryValueType::ExpandString)
      return std::nullopt;
    return v.Data;
  }

  bool WriteDWord(const std::string& AName, uint32_t AValue) override {
    FKey.Values[Fold(AName)] = {AName, TQD_MemoryValue::FromDWord(AValue)};
    return true;
  }

  bool WriteString(const std::string& AName, const std::string& AValue) override {
    FKey.Values[Fold(AName)] = {AName, TQD_MemoryValue::FromString(AValue)};
    return true;
  }

  bool DeleteValue(const std::string& AName) override { return FKey.Values.erase(Fold(AName)) != 0; }

 private:
  TQD_MemoryKeyValueStore::TKey& FKey;
};

}  // namespace

TQD_MemoryValue TQD_MemoryValue::FromDWord(uint32_t AValue) {
  std::string bytes(4, '\0');
  for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>(AValue >> (8 * i) & 0xFF);
  return {TQD_MemoryValueType::DWord, bytes};
}

TQD_MemoryKeyValueStore::TKey* TQD_MemoryKeyValueStore::Find(const std::string& AKey) {
  auto it = FKeys.find(FoldPath(AKey));
  return it == FKeys.end() ? nullptr : &it->second;
}

const TQD_MemoryKeyValueStore::TKey* TQD_MemoryKeyValueStore::Find(const std::string& AKey) const {
  auto it = FKeys.find(FoldPath(AKey));
  return it == FKeys.end() ? nullptr : &it->second;
}

TQD_MemoryKeyValueStore::TKey& TQD_MemoryKeyValueStore::Create(const std::string& AKey) {
  const std::string path = FoldPath(AKey);
  // Parents first, as creating a nested registry key does.
  for (size_t pos = path.find('\\'); pos != std::string::npos; pos = path.find('\\', pos + 1))
    FKeys.try_emplace(path.substr(0, pos));
  return FKeys[path];
}

std::unique_ptr<TQD_StoreKey> TQD_MemoryKeyValueStore::OpenKey(const std::string& AKey, bool ACreate) {
  TKey* key = Find(AKey);
  if (!key && ACreate) key = &Create(AKey);
  if (!key || key->Locked) return nullptr;
  return std::make_unique<TMemoryKey>(*key);
}

bool TQD_MemoryKeyValueStore::KeyExists(const std::string& AKey) const { return Find(AKey) != nullptr; }

std::vector<std::string> TQD_MemoryKeyValueStore::ValueNames(const std::string& AKey) const {
  std::vector<std::string> names;
  if (const TKey* key = Find(AKey))
    for (const auto& [folded, entry] : key->Values) names.push_back(entry.Name);
  return names;
}

std::optional<TQD_MemoryValue> TQD_MemoryKeyValueStore::RawValue(const std::string& AKey,
                                                                  const std::string& AName) const {
  const TKey* key = Find(AKey);
  if (!key) return std::nullopt;
  auto it = key->Values.find(Fold(AName));
  if (it == key->Values.end()) return std::nullopt;
  return it->second.Value;
}

void TQD_MemoryKeyValueStore::SetRawValue(const std::string& AKey, const std::string& AName,
                                          TQD_MemoryValue AValue) {
  Create(AKey).Values[Fold(AName)] = {AName, std::move(AValue)};
}

void TQD_MemoryKeyValueStore::SetKeyLocked(const std::string& AKey, bool ALocked) {
  Create(AKey).Locked = ALocked;
}
