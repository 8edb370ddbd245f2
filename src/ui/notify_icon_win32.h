// The notification-area icon: added with NOTIFYICON_VERSION_4, so its
// callback message carries the event in LOWORD(lParam) and the anchor point
// in wParam; added again when Explorer restarts and broadcasts
// "TaskbarCreated"; removed when the object goes.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

class TQD_NotifyIcon {
 public:
  // Events reach AOwner as ACallbackMessage.
  TQD_NotifyIcon(HWND AOwner, UINT AID, UINT ACallbackMessage);
  ~TQD_NotifyIcon();
  TQD_NotifyIcon(const TQD_NotifyIcon&) = delete;
  TQD_NotifyIcon& operator=(const TQD_NotifyIcon&) = delete;

  // The icon is the caller's and must outlive its use here. Returns whether
  // the shell took the icon.
  bool Add(HICON AIcon, const std::wstring& ATip);
  void SetIcon(HICON AIcon);
  // Only a changed tip goes to the shell.
  void SetTip(const std::wstring& ATip);
  // The owner's handler for TaskbarCreatedMessage(): a new taskbar knows no icon.
  void TaskbarCreated();
  bool Added() const { return FAdded; }

  static UINT TaskbarCreatedMessage();

 private:
  NOTIFYICONDATAW Data(UINT AFlags) const;

  HWND FOwner;
  UINT FID;
  UINT FCallbackMessage;
  HICON FIcon = nullptr;
  std::wstring FTip;
  bool FAdded = false;
};
