// TQD_NotifyIcon; see notify_icon_win32.h.
#include "ui/notify_icon_win32.h"

#include <shellapi.h>

#include <cwchar>

TQD_NotifyIcon::TQD_NotifyIcon(HWND AOwner, UINT AID, UINT ACallbackMessage)
    : FOwner(AOwner), FID(AID), FCallbackMessage(ACallbackMessage) {}

TQD_NotifyIcon::~TQD_NotifyIcon() {
  if (!FAdded) return;
  NOTIFYICONDATAW d = Data(0);
  Shell_NotifyIconW(NIM_DELETE, &d);
}

UINT TQD_NotifyIcon::TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

NOTIFYICONDATAW TQD_NotifyIcon::Data(UINT AFlags) const {
  NOTIFYICONDATAW d{};
  d.cbSize = sizeof d;
  d.hWnd = FOwner;
  d.uID = FID;
  d.uFlags = AFlags;
  d.uCallbackMessage = FCallbackMessage;
  d.hIcon = FIcon;
  // The tip is cut to the field's size rather than refused.
  wcsncpy(d.szTip, FTip.c_str(), sizeof d.szTip / sizeof d.szTip[0] - 1);
  return d;
}

bool TQD_NotifyIcon::Add(HICON AIcon, const std::wstring& ATip) {
  FIcon = AIcon;
  FTip = ATip;
  NOTIFYICONDATAW d = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP);
  FAdded = Shell_NotifyIconW(NIM_ADD, &d) != FALSE;
  if (FAdded) {
    d.uVersion = NOTIFYICON_VERSION_4;
    Shell_NotifyIconW(NIM_SETVERSION, &d);
  }
  return FAdded;
}

void TQD_NotifyIcon::SetIcon(HICON AIcon) {
  FIcon = AIcon;
  if (!FAdded) return;
  NOTIFYICONDATAW d = Data(NIF_ICON);
  Shell_NotifyIconW(NIM_MODIFY, &d);
}

void TQD_NotifyIcon::SetTip(const std::wstring& ATip) {
  if (ATip == FTip) return;
  FTip = ATip;
  if (!FAdded) return;
  NOTIFYICONDATAW d = Data(NIF_TIP | NIF_SHOWTIP);
  Shell_NotifyIconW(NIM_MODIFY, &d);
}

void TQD_NotifyIcon::TaskbarCreated() { Add(FIcon, FTip); }
