// The store port on the real registry, inside a private key under
// HKEY_CURRENT_USER that each test creates and deletes again.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include <filesystem>

#include "settings/autostart.h"
#include "settings/autostart_win32.h"
#include "widgets/color_table.h"
#include "readings/custom_readings_list.h"
#include "settings/file_io.h"
#include "settings/registry_store_win32.h"
#include "settings/settings.h"
#include "base/win32_handles_win32.h"

namespace {

class RegistryStore : public ::testing::Test {
 protected:
  void SetUp() override {
    FPath = L"Software\\QuendalTests\\" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(GetTickCount64());
    HKEY root = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, FPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root,
                              nullptr),
              ERROR_SUCCESS);
    FRoot = TQD_RegKey(root);
    FStore = std::make_unique<TQD_RegistryStoreWin32>(FRoot.Get());
  }
  void TearDown() override {
    FStore.reset();
    FRoot.Reset();
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, FPath.c_str()), ERROR_SUCCESS);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuendalTests");  // only goes when empty
    HKEY gone = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, FPath.c_str(), 0, KEY_READ, &gone), ERROR_SUCCESS);
    if (gone) RegCloseKey(gone);
  }

  bool KeyExists(const wchar_t* ASubKey) {
    HKEY key = nullptr;
    bool exists = RegOpenKeyExW(FRoot.Get(), ASubKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    return exists;
  }

  // Writes raw value data the way another program might have left it.
  void SetRaw(const wchar_t* ASubKey, const wchar_t* AName, DWORD AType, const void* AData, DWORD ASize) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(FRoot.Get(), ASubKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, AName, 0, AType, static_cast<const BYTE*>(AData), ASize), ERROR_SUCCESS);
    RegCloseKey(key);
  }

  DWORD RawType(const wchar_t* ASubKey, const wchar_t* AName) {
    DWORD type = REG_NONE;
    RegGetValueW(FRoot.Get(), ASubKey, AName, RRF_RT_ANY, &type, nullptr, nullptr);
    return type;
  }

  std::wstring FPath;
  TQD_RegKey FRoot;
  std::unique_ptr<TQD_RegistryStoreWin32> FStore;
};

const std::string kTest = "Software\\Quendal\\Test";

TEST_F(RegistryStore, KeysAreCreatedByEveryCallButReadingABoolean) {
  EXPECT_TRUE(RegReadBool(*FStore, kTest, "On", true));
  EXPECT_FALSE(KeyExists(L"Software\\Quendal"));
  EXPECT_EQ(RegReadInteger(*FStore, kTest, "Left", -4), -4);
  EXPECT_TRUE(KeyExists(L"Software\\Quendal\\Test"));
  EXPECT_FALSE(RegValueExists(*FStore, kTest, "Left"));
  EXPECT_FALSE(RegDeleteValue(*FStore, kTest, "Left"));
}

TEST_F(RegistryStore, ValuesRoundTripWithTheirRegistryTypes) {
  RegWriteInteger(*FStore, kTest, "Left", -1);
  RegWriteBool(*FStore, kTest, "On", true);
  const std::string text = "Bahnschrift \xC3\xA9\xE2\x82\xAC " + std::string(600, 'x');
  RegWriteString(*FStore, kTest, "FontName", text);
  EXPECT_EQ(RawType(L"Software\\Quendal\\Test", L"Left"), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(RawType(L"Software\\Quendal\\Test", L"FontName"), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(RegReadInteger(*FStore, kTest, "LEFT", 0), -1);
  EXPECT_TRUE(RegReadBool(*FStore, kTest, "On", false));
  EXPECT_EQ(RegReadString(*FStore, kTest, "FontName", ""), text);
  EXPECT_TRUE(RegDeleteValue(*FStore, kTest, "FontName"));
  EXPECT_FALSE(RegValueExists(*FStore, kTest, "FontName"));
}

TEST_F(RegistryStore, ForeignDataReadsSafely) {
  const wchar_t* key = L"Software\\Quendal\\Test";
  const uint16_t shortDWord = 7;
  const uint64_t longDWord = 7;
  const BYTE binary[4] = {7, 0, 0, 0};
  SetRaw(key, L"Short", REG_DWORD, &shortDWord, sizeof shortDWord);
  SetRaw(key, L"Long", REG_DWORD, &longDWord, sizeof longDWord);
  SetRaw(key, L"Binary", REG_BINARY, binary, sizeof binary);
  SetRaw(key, L"Text", REG_SZ, L"7", 4);
  for (const char* name : {"Short", "Long", "Binary", "Text"}) {
    EXPECT_EQ(RegReadInteger(*FStore, kTest, name, 42), 42) << name;
    EXPECT_FALSE(RegReadBool(*FStore, kTest, name, false)) << name;
  }
  EXPECT_EQ(RegReadString(*FStore, kTest, "Binary", "dflt"), "dflt");

  // Strings without their terminating NUL, with an odd length, with an early NUL.
  const wchar_t unterminated[3] = {L'a', L'b', L'c'};
  SetRaw(key, L"NoNul", REG_SZ, unterminated, sizeof unterminated);
  SetRaw(key, L"Odd", REG_SZ, L"abcd", 7);
  SetRaw(key, L"EarlyNul", REG_SZ, L"ab\0cd", 12);
  SetRaw(key, L"Expand", REG_EXPAND_SZ, L"%TEMP%", 14);
  SetRaw(key, L"Empty", REG_SZ, L"", 0);
  EXPECT_EQ(RegReadString(*FStore, kTest, "NoNul", ""), "abc");
  EXPECT_EQ(RegReadString(*FStore, kTest, "Odd", ""), "abc");
  EXPECT_EQ(RegReadString(*FStore, kTest, "EarlyNul", ""), "ab");
  EXPECT_EQ(RegReadString(*FStore, kTest, "Expand", ""), "%TEMP%");
  EXPECT_EQ(RegReadString(*FStore, kTest, "Empty", "dflt"), "");
}

TEST_F(RegistryStore, SettingsRoundTrip) {
  TQD_Settings first;
  LoadSettings(*FStore, first);
  EXPECT_EQ(first.FontName.Value, "Bahnschrift Condensed");
  EXPECT_TRUE(KeyExists(L"Software\\Quendal\\NetworkMonitor"));

  TQD_Settings saved;
  saved.RunOnStartup.Value = true;
  saved.FontName.Value = "Segoe UI";
  saved.FontBold.Value = true;
  saved.LineGraphsEnabled.Value = false;
  saved.HWiNFOPollingInterval.Value = 500;
  saved.CPUMonitor_WindowLeft.Value = -1200;
  saved.NetworkMonitor_NetGraphBufferLen.Value = 900;
  SaveSettings(*FStore, saved);
  EXPECT_EQ(RawType(L"Software\\Quendal", L"FontBold"), static_cast<DWORD>(REG_DWORD));
  TQD_Settings loaded;
  LoadSettings(*FStore, loaded);
  EXPECT_FALSE(loaded.RunOnStartup.Value);
  EXPECT_EQ(loaded.FontName.Value, "Segoe UI");
  EXPECT_TRUE(loaded.FontBold.Value);
  EXPECT_FALSE(loaded.LineGraphsEnabled.Value);
  EXPECT_EQ(loaded.HWiNFOPollingInterval.Value, 500);
  EXPECT_EQ(loaded.CPUMonitor_WindowLeft.Value, -1200);
  EXPECT_EQ(loaded.NetworkMonitor_NetGraphBufferLen.Value, 900);
  EXPECT_EQ(loaded.GPUMonitor_HotspotTemperatureThreshold.Value, 95);

  RegWriteInteger(*FStore, "Software\\Quendal", "HWiNFOPollingInterval", 5);
  LoadSettings(*FStore, loaded);
  EXPECT_EQ(loaded.HWiNFOPollingInterval.Value, 20);
}

TEST_F(RegistryStore, ColourTableRoundTrip) {
  TQD_ColorTable saved;
  saved.SetColor("Intel_Blue", 0x01020304u);
  saved.SetColor("LB_TempGradientStop9", 0xFFABCDEFu);
  saved.WriteToRegistry(*FStore);
  EXPECT_EQ(RawType(L"Software\\Quendal\\Colors", L"Intel_Blue"), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(RegReadString(*FStore, QD_ColorsKey, "Intel_Blue", ""), "#01020304");
  RegWriteString(*FStore, QD_ColorsKey, "AMD_Red", "#12345");
  TQD_ColorTable loaded;
  loaded.ReadFromRegistry(*FStore);
  EXPECT_EQ(loaded.GetColor("Intel_Blue"), 0x01020304u);
  EXPECT_EQ(loaded.TemperatureGradientTable()[9], 0xFFABCDEFu);
  EXPECT_EQ(loaded.GetColor("AMD_Red"), clFallback32);
  EXPECT_EQ(loaded.GetColor("NG_MaxValueBG"), 0xFF202020u);
}

TEST_F(RegistryStore, CustomReadingsRoundTrip) {
  TQD_CustomReadingsList saved("\\DriveMonitorCustomReadings");
  saved.Add(TQD_URID::CreateNew(16, 0, 16), "T=70;O=L");
  saved.CreateDivider();
  saved.Add(TQD_URID::CreateNew(0xF0000300u, 2, 0x7000000u), "");
  saved.SaveToRegistry(*FStore);
  const wchar_t* key = L"Software\\Quendal\\DriveMonitorCustomReadings";
  EXPECT_EQ(RawType(key, L"00_dwSensorInst"), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(RegReadString(*FStore, saved.RegKey(), "00_dwReadingID", ""), "0x0000010");
  EXPECT_EQ(RegReadString(*FStore, saved.RegKey(), "01_dwSensorID", ""), "0xFFFFFFFF");

  saved.Clear();
  saved.Add(TQD_URID::CreateNew(0xF0000300u, 2, 0x7000000u), "V=MAX");
  saved.SaveToRegistry(*FStore);
  EXPECT_FALSE(RegValueExists(*FStore, saved.RegKey(), "01_dwSensorID"));
  SetRaw(key, L"02_dwSensorID", REG_SZ, L"0x1", 8);  // an incomplete slot
  TQD_CustomReadingsList loaded("\\DriveMonitorCustomReadings");
  loaded.LoadFromRegistry(*FStore);
  ASSERT_EQ(loaded.Count(), 1);
  EXPECT_EQ(loaded.Items()[0].URID, TQD_URID::CreateNew(0xF0000300u, 2, 0x7000000u));
  EXPECT_EQ(loaded.Items()[0].Parameters, "V=MAX");
}

TEST_F(RegistryStore, AutostartEntryRegistersDetectsAndUnregisters) {
  const std::string self = RunningExecutablePath();
  ASSERT_NE(self.find("win32_registry_store_test"), std::string::npos) << self;
  EXPECT_FALSE(IsAutostartRegistered(*FStore, self));
  RegisterAutostart(*FStore, self);
  EXPECT_EQ(RawType(L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Quendal"), static_cast<DWORD>(REG_SZ));
  EXPECT_TRUE(IsAutostartRegistered(*FStore, self));
  std::string other = self;
  other[other.size() - 1] = 'E';  // "...exE": a different path to a case-sensitive compare
  EXPECT_FALSE(IsAutostartRegistered(*FStore, other));
  UnregisterAutostart(*FStore);
  EXPECT_FALSE(IsAutostartRegistered(*FStore, self));
  EXPECT_FALSE(RegValueExists(*FStore, QD_AutostartKey, QD_ApplicationTitle));
}

// The real entry under HKEY_CURRENT_USER of the test's own Wine prefix; put back as found.
TEST(Autostart, RealEntryForTheRunningExecutable) {
  TQD_RegistryStoreWin32 hkcu;
  const auto before = RegTryReadString(hkcu, QD_AutostartKey, QD_ApplicationTitle);
  struct TRestore {
    TQD_RegistryStoreWin32& Store;
    const std::optional<std::string>& Before;
    ~TRestore() {
      if (Before) RegWriteString(Store, QD_AutostartKey, QD_ApplicationTitle, *Before);
      else RegDeleteValue(Store, QD_AutostartKey, QD_ApplicationTitle);
    }
  } restore{hkcu, before};
  UnregisterAutostart();
  EXPECT_FALSE(IsAutostartRegistered());
  RegisterAutostart();
  EXPECT_TRUE(IsAutostartRegistered());
  EXPECT_EQ(RegReadString(hkcu, QD_AutostartKey, QD_ApplicationTitle, ""), RunningExecutablePath());
  UnregisterAutostart();
  EXPECT_FALSE(IsAutostartRegistered());
}

// Colour files by a name outside the ANSI code page, and the system's reason
// when a file cannot be created or its name is not UTF-8.
TEST(ColorFile, RoundTripUnderAUnicodeName) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path();
  const std::filesystem::path file = dir / u8"quendal_farben_\u00E4\u20AC.txt";
  const std::u8string utf8 = file.u8string();
  const std::string path(utf8.begin(), utf8.end());
  TQD_ColorTable saved;
  saved.SetColor("NG_MaxValueBG", 0x0A0B0C0Du);
  ASSERT_EQ(saved.ExportToFile(path), 104);
  TQD_ColorTable loaded;
  EXPECT_EQ(loaded.ImportFromFile(path), 104);
  EXPECT_EQ(loaded.GetColor("NG_MaxValueBG"), 0x0A0B0C0Du);
  EXPECT_TRUE(std::filesystem::remove(file));

  const std::u8string missingUtf8 = (dir / "quendal_no_such_dir" / "colors.txt").u8string();
  const std::string missing(missingUtf8.begin(), missingUtf8.end());
  try {
    saved.ExportToFile(missing);
    ADD_FAILURE() << "export into a missing folder returned";
  } catch (const TQD_FileError& e) {
    EXPECT_EQ(e.FileName(), missing);
    EXPECT_NE(std::string(e.what()).find(ErrnoReason(ENOENT)), std::string::npos) << e.what();
  }
  // A name that is not UTF-8 names no file; it is refused, not garbled into one.
  try {
    saved.ExportToFile(path + "\xFF");
    ADD_FAILURE() << "export under a name that is not UTF-8 returned";
  } catch (const TQD_FileError& e) {
    EXPECT_NE(std::string(e.what()).find(ErrnoReason(EINVAL)), std::string::npos) << e.what();
  }
}

}  // namespace
