// Version resource and Windows version; see program_version_win32.h.
#include "settings/program_version_win32.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "settings/autostart_win32.h"
#include "settings/file_io.h"
#include "base/win32_handles_win32.h"

namespace {

std::string ShortDateText(int ADaysSince2000) {
  // 2000-01-01 as a FILETIME, plus whole days: midnight of the build date.
  SYSTEMTIME epoch{};
  epoch.wYear = 2000;
  epoch.wMonth = 1;
  epoch.wDay = 1;
  FILETIME ft;
  SystemTimeToFileTime(&epoch, &ft);
  ULARGE_INTEGER ticks;
  ticks.LowPart = ft.dwLowDateTime;
  ticks.HighPart = ft.dwHighDateTime;
  ticks.QuadPart += static_cast<ULONGLONG>(ADaysSince2000) * 864000000000ULL;
  ft.dwLowDateTime = ticks.LowPart;
  ft.dwHighDateTime = ticks.HighPart;
  SYSTEMTIME date;
  if (!FileTimeToSystemTime(&ft, &date)) return {};
  wchar_t buffer[128];
  int n = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, buffer, 128, nullptr);
  return n > 1 ? WideToUtf8(buffer, static_cast<size_t>(n - 1)) : std::string();
}

[[noreturn]] void ThrowVersionError(const std::string& AFileName, DWORD AError) {
  throw TQD_FileError(AFileName, "read the version resource of", SystemErrorText(AError));
}

}  // namespace

TQD_ProgramVersion GetProgramVersion() { return GetProgramVersion(RunningExecutablePath()); }

TQD_ProgramVersion GetProgramVersion(const std::string& AFileName) {
  const std::wstring path = Utf8ToWide(AFileName);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) ThrowVersionError(AFileName, GetLastError());
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) ThrowVersionError(AFileName, GetLastError());
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO))
    ThrowVersionError(AFileName, ERROR_RESOURCE_TYPE_NOT_FOUND);

  TQD_ProgramVersion version;
  version.Major = HIWORD(info->dwFileVersionMS);
  version.Minor = LOWORD(info->dwFileVersionMS);
  version.BuildDays = HIWORD(info->dwFileVersionLS);
  char text[32];
  std::snprintf(text, sizeof text, "%d.%d", version.Major, version.Minor);
  version.VersionText = text;
  version.BuildDateText = ShortDateText(version.BuildDays);
  return version;
}

bool IsWindowsVersionAtLeast(unsigned AMajor) {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  // Without a compatibility manifest GetVersionExW stops at 6.2, which is still
  // the truth for every test against 6 ("Vista or newer").
#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)
#endif
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return false;
#if defined(_MSC_VER)
#pragma warning(pop)
#endif
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= AMajor;
}
