// The network port on Windows; see network_win32.h.
// winsock2.h must come before windows.h; ws2ipdef.h before iphlpapi.h, or the
// MIB_IF_ROW2 family is left out of netioapi.h.
#include <winsock2.h>
#include <ws2ipdef.h>
#include <windows.h>
#include <iphlpapi.h>

#include "collector/network_win32.h"

#include <cstring>

#include "base/win32_handles_win32.h"

namespace {

struct TMibTableFree {
  void operator()(MIB_IF_TABLE2* ATable) const { FreeMibTable(ATable); }
};
using TMibIfTable = TQD_UniqueHandle<MIB_IF_TABLE2*, TMibTableFree>;

// Converts into an existing string, keeping its storage when it is big enough.
void AssignUtf8(const wchar_t* AText, size_t ALength, std::string& Out) {
  if (ALength == 0) {
    Out.clear();
    return;
  }
  const int n = WideCharToMultiByte(CP_UTF8, 0, AText, static_cast<int>(ALength), nullptr, 0, nullptr, nullptr);
  if (n <= 0) {
    Out.clear();
    return;
  }
  Out.resize(static_cast<size_t>(n));
  WideCharToMultiByte(CP_UTF8, 0, AText, static_cast<int>(ALength), Out.data(), n, nullptr, nullptr);
}

}  // namespace

bool TQD_NetworkWin32::GetIfTable(std::vector<TQD_IFRow>& ARows) {
  MIB_IF_TABLE2* raw = nullptr;
  const DWORD rc = GetIfTable2(&raw);
  TMibIfTable table(raw);  // freed on every path once the call allocated it
  if (rc != NO_ERROR || !table) {
    FLastError = SystemErrorText(rc);
    return false;
  }
  FLastError.clear();
  ARows.resize(table.Get()->NumEntries);
  for (ULONG i = 0; i < table.Get()->NumEntries; ++i) {
    const MIB_IF_ROW2& src = table.Get()->Table[i];
    TQD_IFRow& dst = ARows[i];
    static_assert(sizeof(src.InterfaceGuid) == sizeof(dst.InterfaceGuid));
    std::memcpy(dst.InterfaceGuid.data(), &src.InterfaceGuid, sizeof(dst.InterfaceGuid));
    // The description is zero-terminated inside its fixed array, if at all.
    constexpr size_t kMaxDescription = sizeof(src.Description) / sizeof(src.Description[0]);
    AssignUtf8(src.Description, wcsnlen(src.Description, kMaxDescription), dst.Description);
    dst.OperStatus = static_cast<uint32_t>(src.OperStatus);
    // The flags are a bit-field struct; HardwareInterface is its bit 0.
    uint8_t flags = 0;
    static_assert(sizeof(src.InterfaceAndOperStatusFlags) >= 1);
    std::memcpy(&flags, &src.InterfaceAndOperStatusFlags, 1);
    dst.InterfaceAndOperStatusFlags = flags;
    dst.TransmitLinkSpeed = src.TransmitLinkSpeed;
    dst.ReceiveLinkSpeed = src.ReceiveLinkSpeed;
    dst.InOctets = src.InOctets;
    dst.OutOctets = src.OutOctets;
  }
  return true;
}
