// The registry functions over the in-memory store: which calls create keys,
// defaults, deletes, values of the wrong type, keys that cannot be opened.
#include <gtest/gtest.h>

#include "settings/autostart.h"
#include "settings/key_value_store.h"
#include "settings/memory_key_value_store.h"

namespace {

const std::string kKey = "Software\\Quendal\\Test";

TEST(KeyValueStore, OnlyReadingABooleanLeavesAMissingKeyAbsent) {
  TQD_MemoryKeyValueStore store;
  EXPECT_TRUE(RegReadBool(store, kKey, "On", true));
  EXPECT_FALSE(store.KeyExists(kKey));
  EXPECT_FALSE(store.KeyExists("Software\\Quendal"));

  EXPECT_EQ(RegReadInteger(store, kKey, "Left", -7), -7);
  EXPECT_TRUE(store.KeyExists(kKey));
  EXPECT_TRUE(store.KeyExists("Software\\Quendal"));  // parents come along

  for (auto call : {+[](TQD_KeyValueStore& s, const std::string& k) { RegReadString(s, k, "X", ""); },
                    +[](TQD_KeyValueStore& s, const std::string& k) { RegValueExists(s, k, "X"); },
                    +[](TQD_KeyValueStore& s, const std::string& k) { RegDeleteValue(s, k, "X"); },
                    +[](TQD_KeyValueStore& s, const std::string& k) { RegWriteBool(s, k, "X", true); }}) {
    TQD_MemoryKeyValueStore fresh;
    call(fresh, kKey);
    EXPECT_TRUE(fresh.KeyExists(kKey));
  }
}

TEST(KeyValueStore, ValuesRoundTripAsDWordsAndStrings) {
  TQD_MemoryKeyValueStore store;
  RegWriteInteger(store, kKey, "Left", -1);
  RegWriteBool(store, kKey, "On", true);
  RegWriteString(store, kKey, "FontName", "Segoe UI \xC3\xA9");
  EXPECT_EQ(store.RawValue(kKey, "Left")->Data, std::string(4, '\xFF'));  // two's complement bits
  EXPECT_EQ(store.RawValue(kKey, "On")->Type, TQD_MemoryValueType::DWord);
  EXPECT_EQ(store.RawValue(kKey, "FontName")->Type, TQD_MemoryValueType::String);
  EXPECT_EQ(RegReadInteger(store, kKey, "left", 5), -1);  // names ignore case
  EXPECT_TRUE(RegReadBool(store, kKey, "ON", false));
  EXPECT_EQ(RegReadString(store, "software\\QUENDAL\\test", "FontName", ""), "Segoe UI \xC3\xA9");
  // Any non-zero DWORD is true.
  store.SetRawValue(kKey, "On", TQD_MemoryValue::FromDWord(2));
  EXPECT_TRUE(RegReadBool(store, kKey, "On", false));
  RegWriteBool(store, kKey, "On", false);
  EXPECT_FALSE(RegReadBool(store, kKey, "On", true));
}

TEST(KeyValueStore, ValuesOfTheWrongTypeOrSizeReadAsMissing) {
  TQD_MemoryKeyValueStore store;
  store.SetRawValue(kKey, "Str", TQD_MemoryValue::FromString("12"));
  store.SetRawValue(kKey, "Short", {TQD_MemoryValueType::DWord, std::string(2, '\1')});
  store.SetRawValue(kKey, "Long", {TQD_MemoryValueType::DWord, std::string(8, '\1')});
  store.SetRawValue(kKey, "Bin", {TQD_MemoryValueType::Binary, std::string(4, '\1')});
  store.SetRawValue(kKey, "Num", TQD_MemoryValue::FromDWord(9));
  for (const char* name : {"Str", "Short", "Long", "Bin"}) {
    EXPECT_EQ(RegReadInteger(store, kKey, name, 77), 77) << name;
    EXPECT_TRUE(RegReadBool(store, kKey, name, true)) << name;
    EXPECT_TRUE(RegValueExists(store, kKey, name)) << name;  // it exists, it just is no integer
  }
  EXPECT_EQ(RegReadString(store, kKey, "Num", "dflt"), "dflt");
  EXPECT_EQ(RegReadString(store, kKey, "Bin", "dflt"), "dflt");
  EXPECT_FALSE(RegTryReadString(store, kKey, "Num").has_value());
  store.SetRawValue(kKey, "Exp", {TQD_MemoryValueType::ExpandString, "%TEMP%"});
  EXPECT_EQ(RegReadString(store, kKey, "Exp", ""), "%TEMP%");
}

TEST(KeyValueStore, DeleteReportsWhetherAValueWentAway) {
  TQD_MemoryKeyValueStore store;
  RegWriteString(store, kKey, "A", "x");
  EXPECT_TRUE(RegValueExists(store, kKey, "A"));
  EXPECT_TRUE(RegDeleteValue(store, kKey, "a"));
  EXPECT_FALSE(RegValueExists(store, kKey, "A"));
  EXPECT_FALSE(RegDeleteValue(store, kKey, "A"));
  EXPECT_EQ(RegReadString(store, kKey, "A", "gone"), "gone");
}

TEST(KeyValueStore, AKeyThatCannotBeOpenedReadsDefaultsAndTakesNoWrites) {
  TQD_MemoryKeyValueStore store;
  RegWriteInteger(store, kKey, "Left", 10);
  store.SetKeyLocked(kKey, true);
  EXPECT_EQ(RegReadInteger(store, kKey, "Left", 3), 3);
  EXPECT_FALSE(RegValueExists(store, kKey, "Left"));
  EXPECT_FALSE(RegDeleteValue(store, kKey, "Left"));
  RegWriteInteger(store, kKey, "Left", 99);
  RegWriteString(store, kKey, "New", "x");
  store.SetKeyLocked(kKey, false);
  EXPECT_EQ(RegReadInteger(store, kKey, "Left", 3), 10);
  EXPECT_FALSE(RegValueExists(store, kKey, "New"));
}

TEST(Autostart, OnlyTheExactPathCountsAsRegistered) {
  TQD_MemoryKeyValueStore store;
  const std::string self = "C:\\Program Files\\Quendal\\Quendal.exe";
  EXPECT_FALSE(IsAutostartRegistered(store, self));
  UnregisterAutostart(store);  // nothing to remove: harmless

  RegisterAutostart(store, self);
  EXPECT_EQ(RegReadString(store, QD_AutostartKey, "Quendal", ""), self);
  EXPECT_TRUE(IsAutostartRegistered(store, self));
  EXPECT_FALSE(IsAutostartRegistered(store, "c:\\program files\\quendal\\quendal.exe"));
  EXPECT_FALSE(IsAutostartRegistered(store, "D:\\Quendal.exe"));

  // An entry of another copy is replaced by registering this one.
  RegisterAutostart(store, "D:\\Quendal.exe");
  RegisterAutostart(store, self);
  EXPECT_TRUE(IsAutostartRegistered(store, self));

  UnregisterAutostart(store);
  EXPECT_FALSE(RegValueExists(store, QD_AutostartKey, "Quendal"));
  EXPECT_FALSE(IsAutostartRegistered(store, self));
}

}  // namespace
