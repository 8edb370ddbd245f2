// The system-information port on Windows; see system_info_win32.h.
#include "collector/system_info_win32.h"

#include <cstring>

#include "base/win32_handles_win32.h"

#if defined(_MSC_VER)
#include <intrin.h>
#else
#include <cpuid.h>
#endif

namespace {

// Asking an empty card reader or optical drive would otherwise pop up a
// "No disk" box; with critical errors failed the call simply fails.
class TNoDiskPrompt {
 public:
  TNoDiskPrompt() : FOldMode(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~TNoDiskPrompt() { SetErrorMode(FOldMode); }
  TNoDiskPrompt(const TNoDiskPrompt&) = delete;
  TNoDiskPrompt& operator=(const TNoDiskPrompt&) = delete;

 private:
  UINT FOldMode;
};

}  // namespace

std::string RawCPUIDVendorText() {
  unsigned int regs[4] = {0, 0, 0, 0};  // EAX, EBX, ECX, EDX
#if defined(_MSC_VER)
  int r[4];
  __cpuid(r, 0);
  for (int i = 0; i < 4; ++i) regs[i] = static_cast<unsigned int>(r[i]);
#else
  __cpuid(0, regs[0], regs[1], regs[2], regs[3]);
#endif
  // The vendor text is spread over EBX, EDX, ECX in that order.
  char text[12];
  std::memcpy(text, &regs[1], 4);
  std::memcpy(text + 4, &regs[3], 4);
  std::memcpy(text + 8, &regs[2], 4);
  return std::string(text, 12);
}

std::string TQD_SystemInfoWin32::CPUVendorText() { return RawCPUIDVendorText(); }

bool TQD_SystemInfoWin32::GetProcessorRelationships(std::vector<uint32_t>& ARelationships) {
  ARelationships.clear();
  // First call with room for one entry: on any machine with more than one
  // entry it fails with ERROR_INSUFFICIENT_BUFFER and says how much it needs.
  std::vector<SYSTEM_LOGICAL_PROCESSOR_INFORMATION> info(1);
  DWORD length = sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION);
  if (!GetLogicalProcessorInformation(info.data(), &length)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    // Whole entries, rounded up, so the buffer never falls short of `length`.
    const size_t entries =
        (length + sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION) - 1) / sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION);
    info.resize(entries);
    length = static_cast<DWORD>(entries * sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION));
    if (!GetLogicalProcessorInformation(info.data(), &length)) return false;
  }
  const size_t count = length / sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION);
  for (size_t i = 0; i < count && i < info.size(); ++i)
    ARelationships.push_back(static_cast<uint32_t>(info[i].Relationship));
  return true;
}

uint32_t TQD_SystemInfoWin32::GetNumberOfProcessors() {
  SYSTEM_INFO si{};
  GetSystemInfo(&si);
  return si.dwNumberOfProcessors;
}

bool TQD_SystemInfoWin32::GetInstalledMemoryKB(uint64_t& AKilobytes) {
  ULONGLONG kb = 0;
  if (!GetPhysicallyInstalledSystemMemory(&kb)) return false;
  AKilobytes = kb;
  return true;
}

bool TQD_SystemInfoWin32::GetMemoryStatus(uint64_t& ATotalPhys, uint64_t& AAvailPhys) {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;  // the call fails without it
  if (!GlobalMemoryStatusEx(&status)) return false;
  ATotalPhys = status.ullTotalPhys;
  AAvailPhys = status.ullAvailPhys;
  return true;
}

std::vector<std::string> TQD_SystemInfoWin32::GetLogicalDriveRoots() {
  std::vector<std::string> roots;
  // 26 letters of "X:\<0>" and the closing zero fit, so one call does; every
  // call walks the whole DOS device directory under Wine. Too small a buffer
  // makes the call answer the size it needs instead, so a longer list still
  // gets a second try.
  std::wstring buffer(26 * 4 + 1, L'\0');
  DWORD written = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
  if (written > buffer.size()) {
    const DWORD needed = written;
    buffer.assign(needed, L'\0');
    written = GetLogicalDriveStringsW(needed, buffer.data());
    // A drive added between the two calls makes the second one ask for more:
    // treat it like a failure and let the next poll try again.
    if (written > needed) return roots;
  }
  if (written == 0) return roots;
  // "C:\<0>D:\<0><0>": paths separated by zeros, the list ended by an empty one.
  const wchar_t* p = buffer.c_str();
  const wchar_t* end = p + written;
  while (p < end && *p) {
    const size_t n = wcsnlen(p, static_cast<size_t>(end - p));
    roots.push_back(WideToUtf8(p, n));
    p += n + 1;
  }
  return roots;
}

uint32_t TQD_SystemInfoWin32::GetDriveTypeCode(const std::string& ARoot) {
  return ::GetDriveTypeW(Utf8ToWide(ARoot).c_str());
}

bool TQD_SystemInfoWin32::GetVolumeLabel(const std::string& ARoot, std::string& ALabel) {
  // Labels are at most 32 characters; 40 leaves room.
  wchar_t label[40] = {};
  TNoDiskPrompt noPrompt;
  if (!GetVolumeInformationW(Utf8ToWide(ARoot).c_str(), label, 40, nullptr, nullptr, nullptr,
                             nullptr, 0))
    return false;
  ALabel = WideToUtf8(label, wcsnlen(label, 40));
  return true;
}

bool TQD_SystemInfoWin32::GetDiskSpace(const std::string& ARoot, int64_t& ATotal, int64_t& AFree) {
  ULARGE_INTEGER freeToCaller{}, total{};
  TNoDiskPrompt noPrompt;
  if (!GetDiskFreeSpaceExW(Utf8ToWide(ARoot).c_str(), &freeToCaller, &total, nullptr)) return false;
  ATotal = static_cast<int64_t>(total.QuadPart);
  AFree = static_cast<int64_t>(freeToCaller.QuadPart);
  return true;
}
