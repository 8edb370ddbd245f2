// The setup and the portable zip as a user meets them, in a Wine prefix made
// new for this run (tests/e2e/fresh-wineprefix): a silent install, the
// program started from where it was installed, an update over the running
// program that keeps what it had not yet saved, a silent uninstall that
// leaves the settings, and Quendal.exe run from the unpacked zip.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cwctype>
#include <fstream>
#include <string>
#include <vector>

#include "foreign_window_win32.h"
#include "child_process_win32.h"
#include "settings/key_value_store.h"
#include "settings/registry_store_win32.h"

namespace {

const wchar_t kMonitorClass[] = L"QuendalMonitorWindow";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quendal";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kVersion[] = QUENDAL_PACKAGE_VERSION;

std::wstring Folder(int ACsidl) {
  wchar_t path[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, ACsidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}
std::wstring InstallDir() { return Folder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Quendal"; }
std::wstring Shortcut() { return Folder(CSIDL_PROGRAMS) + L"\\Quendal.lnk"; }
std::wstring PackageFile(const std::wstring& ASuffix) {
  return BinDir() + L"..\\package\\Quendal-" + kVersion + L"-" + ASuffix;
}
bool Exists(const std::wstring& APath) { return GetFileAttributesW(APath.c_str()) != INVALID_FILE_ATTRIBUTES; }
std::wstring Lower(std::wstring A) {
  for (auto& c : A) c = static_cast<wchar_t>(std::towlower(c));
  return A;
}
std::string Narrow(const std::wstring& A) { return WideToUtf8(A); }

bool KeyExists(const wchar_t* AKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, AKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}
// "<missing>" when there is no string value of that name.
std::wstring RegString(const wchar_t* AKey, const wchar_t* AName) {
  wchar_t data[1024];
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, AKey, AName, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return data;
}
DWORD RegDword(const wchar_t* AKey, const wchar_t* AName) {
  DWORD data = 0, size = sizeof data;
  if (RegGetValueW(HKEY_CURRENT_USER, AKey, AName, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS)
    return 0;
  return data;
}
void SetRunValue(const wchar_t* AName, const std::wstring& AData) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, AName, REG_SZ, AData.c_str(),
                  static_cast<DWORD>((AData.size() + 1) * sizeof(wchar_t)));
}

// A program started by its full path; never killed here: the test is about
// Quendal ending by itself.
class TProgram {
 public:
  TProgram(const std::wstring& APath, const std::wstring& AArgs) {
    std::wstring command = L"\"" + APath + L"\" " + AArgs;
    const std::wstring dir = APath.substr(0, APath.find_last_of(L'\\'));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    Started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi);
    if (Started) {
      FProcess = TQD_KernelHandle(pi.hProcess);
      Id = pi.dwProcessId;
      CloseHandle(pi.hThread);
    }
  }
  // The exit code, or -1 when still running after AMs.
  int Wait(DWORD AMs) {
    if (!FProcess || WaitForSingleObject(FProcess.Get(), AMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(FProcess.Get(), &code);
    return static_cast<int>(code);
  }
  bool Started = false;
  DWORD Id = 0;

 private:
  TQD_KernelHandle FProcess;
};

HWND WaitForWindow(const wchar_t* AClass, const wchar_t* ATitle, DWORD AMs) {
  for (DWORD waited = 0; waited < AMs; waited += 100) {
    HWND w = FindWindowW(AClass, ATitle);
    if (w && (!ATitle || IsWindowVisible(w))) return w;
    Sleep(100);
  }
  return nullptr;
}

DWORD WindowProcess(HWND AWindow) {
  DWORD id = 0;
  GetWindowThreadProcessId(AWindow, &id);
  return id;
}

std::wstring ProcessImage(DWORD AId) {
  TQD_KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, AId));
  wchar_t path[MAX_PATH] = L"";
  DWORD size = MAX_PATH;
  if (!process || !QueryFullProcessImageNameW(process.Get(), 0, path, &size)) return L"<unknown>";
  return path;
}

bool ProcessEnds(DWORD AId, DWORD AMs) {
  TQD_KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, AId));
  return !process || WaitForSingleObject(process.Get(), AMs) == WAIT_OBJECT_0;
}

// The request the setup makes of a running Quendal (Restart Manager's
// ENDSESSION_CLOSEAPP pair): Quendal saves and ends.
void CloseQuendal(HWND AWindow) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(AWindow, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_BLOCK, 10000, &answer);
  SendMessageTimeoutW(AWindow, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_BLOCK, 10000, &answer);
}

struct TFileResources {
  int Major = -1, Minor = -1;
  std::wstring ProductVersion = L"<missing>";
  int IconGroups = 0;
};

TFileResources ReadResources(const std::wstring& APath) {
  TFileResources r;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(APath.c_str(), &ignored);
  std::vector<BYTE> data(size);
  if (size && GetFileVersionInfoW(APath.c_str(), 0, size, data.data())) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
      r.Major = HIWORD(fixed->dwFileVersionMS);
      r.Minor = LOWORD(fixed->dwFileVersionMS);
    }
    WORD* translation = nullptr;
    if (VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
        length >= 4) {
      wchar_t query[64];
      swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\ProductVersion", translation[0], translation[1]);
      wchar_t* text = nullptr;
      if (VerQueryValueW(data.data(), query, reinterpret_cast<void**>(&text), &length) && text) r.ProductVersion = text;
    }
  }
  HMODULE module = LoadLibraryExW(APath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (module) {
    EnumResourceNamesW(
        module, RT_GROUP_ICON,
        [](HMODULE, LPCWSTR, LPWSTR, LONG_PTR ACount) -> BOOL {
          ++*reinterpret_cast<int*>(ACount);
          return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&r.IconGroups));
    FreeLibrary(module);
  }
  return r;
}

std::string ReadText(const std::wstring& APath) { return ReadFileBytes(APath); }
void WriteText(const std::wstring& APath, const std::string& AText) {
  std::ofstream(Narrow(APath), std::ios::binary) << AText;
}

}  // namespace

TEST(Package, SilentInstallUpdateOverRunningProgramAndUninstall) {
  const std::wstring setup = PackageFile(L"setup.exe");
  const std::wstring dir = InstallDir();
  const std::wstring exe = dir + L"\\Quendal.exe";
  ASSERT_TRUE(Exists(setup)) << Narrow(setup);
  ASSERT_FALSE(Exists(dir)) << "not a new Wine prefix: " << Narrow(dir);
  ASSERT_FALSE(KeyExists(kUninstallKey)) << "not a new Wine prefix";

  // The setup carries the version and an icon.
  const TFileResources setupInfo = ReadResources(setup);
  EXPECT_EQ(setupInfo.Major, QUENDAL_VERSION_MAJOR);
  EXPECT_EQ(setupInfo.Minor, QUENDAL_VERSION_MINOR);
  EXPECT_EQ(setupInfo.ProductVersion, kVersion);
  EXPECT_GT(setupInfo.IconGroups, 0);

  {
    SCOPED_TRACE("first install");
    TProgram install(setup, L"/S");
    ASSERT_TRUE(install.Started);
    ASSERT_EQ(install.Wait(60000), 0);
  }
  for (const wchar_t* name : {L"Quendal.exe", L"sensorfeed.exe", L"README.txt", L"LICENSE.txt", L"Uninstall.exe"})
    EXPECT_TRUE(Exists(dir + L"\\" + name)) << Narrow(name);
  EXPECT_TRUE(Exists(Shortcut())) << Narrow(Shortcut());
  EXPECT_EQ(RegString(kUninstallKey, L"DisplayName"), L"Quendal");
  EXPECT_EQ(RegString(kUninstallKey, L"DisplayVersion"), kVersion);
  EXPECT_EQ(RegString(kUninstallKey, L"Publisher"), L"Quendal developers");
  EXPECT_EQ(Lower(RegString(kUninstallKey, L"DisplayIcon")), Lower(exe + L",0"));
  EXPECT_EQ(Lower(RegString(kUninstallKey, L"UninstallString")), Lower(L"\"" + dir + L"\\Uninstall.exe\""));
  EXPECT_EQ(Lower(RegString(kUninstallKey, L"QuietUninstallString")), Lower(L"\"" + dir + L"\\Uninstall.exe\" /S"));
  // In KiB: at least the program itself, which is more than a MiB.
  EXPECT_GT(RegDword(kUninstallKey, L"EstimatedSize"), 1024u);
  for (const wchar_t* name : {L"Quendal.exe", L"sensorfeed.exe", L"Uninstall.exe"}) {
    SCOPED_TRACE(Narrow(name));
    const TFileResources info = ReadResources(dir + L"\\" + name);
    EXPECT_EQ(info.Major, QUENDAL_VERSION_MAJOR);
    EXPECT_EQ(info.Minor, QUENDAL_VERSION_MINOR);
#if QUENDAL_TEST_APP_ICON
    EXPECT_GT(info.IconGroups, 0);
#else
    if (std::wstring(name) == L"Uninstall.exe") {
      EXPECT_GT(info.IconGroups, 0);
    }
#endif
  }
  EXPECT_EQ(FindWindowW(QD_MainFormClass, nullptr), nullptr) << "a first silent install starts nothing";

  // The installed program, with the clock on; it has stored nothing yet.
  TQD_RegistryStoreWin32 registry;
  RegWriteBool(registry, "Software\\Quendal\\Clock", "On", true);
  TProgram first(exe, L"");
  ASSERT_TRUE(first.Started);
  // The control panel is made at start; whether it shows at once is up to it.
  HWND main = WaitForWindow(QD_MainFormClass, nullptr, 30000);
  ASSERT_NE(main, nullptr) << "no control panel window";
  std::printf("control panel window found, %s\n", IsWindowVisible(main) ? "visible" : "hidden");
  EXPECT_EQ(WindowProcess(main), first.Id);
  EXPECT_EQ(Lower(ProcessImage(first.Id)), Lower(exe));
  HWND clock = WaitForWindow(kMonitorClass, L"Clock", 30000);
  ASSERT_NE(clock, nullptr);
  // A place only the running program knows: it writes it when it ends.
  SetWindowPos(clock, nullptr, 210, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT moved{};
  GetWindowRect(clock, &moved);
  ASSERT_EQ(moved.left, 210);
  ASSERT_EQ(moved.top, 140);
  EXPECT_NE(RegReadInteger(registry, "Software\\Quendal\\Clock", "Left", -7), 210);
  // "Start with Windows" on, and another program's entry beside it.
  SetRunValue(L"Quendal", exe);
  SetRunValue(L"OtherProgram", L"C:\\other.exe");
  WriteText(dir + L"\\README.txt", "stale");

  {
    SCOPED_TRACE("update over the running program");
    TProgram update(setup, L"/S");
    ASSERT_TRUE(update.Started);
    ASSERT_EQ(update.Wait(90000), 0);
  }
  // The running program was asked to end, saved and ended by itself.
  EXPECT_EQ(first.Wait(10000), 0);
  EXPECT_EQ(RegReadInteger(registry, "Software\\Quendal\\Clock", "Left", -7), 210);
  EXPECT_EQ(RegReadInteger(registry, "Software\\Quendal\\Clock", "Top", -7), 140);
  EXPECT_NE(ReadText(dir + L"\\README.txt").find("HWiNFO"), std::string::npos) << "files not replaced";
  // The update starts again what it closed.
  HWND again = WaitForWindow(QD_MainFormClass, nullptr, 30000);
  ASSERT_NE(again, nullptr) << "the update did not start Quendal again";
  const DWORD againId = WindowProcess(again);
  EXPECT_NE(againId, first.Id);
  EXPECT_EQ(Lower(ProcessImage(againId)), Lower(exe));
  ASSERT_NE(WaitForWindow(kMonitorClass, L"Clock", 30000), nullptr);

  {
    SCOPED_TRACE("silent uninstall over the running program");
    TProgram uninstall(dir + L"\\Uninstall.exe", L"/S");
    ASSERT_TRUE(uninstall.Started);
    EXPECT_EQ(uninstall.Wait(30000), 0);
    // The uninstaller runs on from a copy in the temp folder: wait for its work.
    for (int i = 0; i < 300 && (Exists(dir) || KeyExists(kUninstallKey)); ++i) Sleep(100);
  }
  EXPECT_TRUE(ProcessEnds(againId, 10000));
  EXPECT_EQ(FindWindowW(QD_MainFormClass, nullptr), nullptr);
  EXPECT_FALSE(Exists(dir)) << Narrow(dir);
  EXPECT_FALSE(Exists(Shortcut()));
  EXPECT_FALSE(KeyExists(kUninstallKey));
  EXPECT_EQ(RegString(kRunKey, L"Quendal"), L"<missing>");
  EXPECT_EQ(RegString(kRunKey, L"OtherProgram"), L"C:\\other.exe");
  // Silently, the settings stay, with what the closed program saved.
  EXPECT_EQ(RegReadInteger(registry, "Software\\Quendal\\Clock", "Left", -7), 210);
  EXPECT_TRUE(RegReadBool(registry, "Software\\Quendal\\Clock", "On", false));
}

TEST(Package, PortableZipRunsWhereItIsUnpacked) {
  // fresh-wineprefix unpacked the zip here.
  const std::wstring dir = L"C:\\Portable";
  for (const wchar_t* name : {L"Quendal.exe", L"sensorfeed.exe", L"README.txt", L"LICENSE.txt"})
    EXPECT_TRUE(Exists(dir + L"\\" + name)) << Narrow(name);
  const std::string readme = ReadText(dir + L"\\README.txt");
  EXPECT_NE(readme.find("Shared Memory Support"), std::string::npos);
  EXPECT_NE(readme.find("HKEY_CURRENT_USER\\Software\\Quendal"), std::string::npos);
  EXPECT_NE(readme.find("\r\n"), std::string::npos) << "README.txt should have Windows line ends";
  EXPECT_NE(ReadText(dir + L"\\LICENSE.txt").find("MIT"), std::string::npos);

  ASSERT_EQ(FindWindowW(QD_MainFormClass, nullptr), nullptr) << "another Quendal still runs";
  TProgram app(dir + L"\\Quendal.exe", L"");
  ASSERT_TRUE(app.Started);
  HWND main = WaitForWindow(QD_MainFormClass, nullptr, 30000);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(Lower(ProcessImage(WindowProcess(main))), Lower(dir + L"\\Quendal.exe"));
  CloseQuendal(main);
  EXPECT_EQ(app.Wait(15000), 0);

  TProgram feed(dir + L"\\sensorfeed.exe", L"--help");
  ASSERT_TRUE(feed.Started);
  EXPECT_EQ(feed.Wait(15000), 0);
}
