// The one-button "Abort" message; see abort_message_win32.h.
//
// MessageBox offers Abort only together with Retry and Ignore, and a task
// dialog does not exist on the old systems this message is for. So this is
// an ordinary OK box whose button is renamed as it is activated, through a
// CBT hook on this thread.
#include "ui/abort_message_win32.h"

#include "base/win32_handles_win32.h"

namespace {

thread_local HHOOK tHook = nullptr;

LRESULT CALLBACK RenameOkButton(int ACode, WPARAM AWParam, LPARAM ALParam) {
  if (ACode == HCBT_ACTIVATE) {
    const HWND box = reinterpret_cast<HWND>(AWParam);
    wchar_t className[16] = {};
    GetClassNameW(box, className, 16);
    if (lstrcmpW(className, L"#32770") == 0)
      if (const HWND ok = GetDlgItem(box, IDOK)) SetWindowTextW(ok, L"Abort");
  }
  return CallNextHookEx(tHook, ACode, AWParam, ALParam);
}

}  // namespace

void ShowAbortMessage(HWND AOwner, const std::string& AText, const std::string& ACaption) {
  // Without the hook the box still shows the text, with an "OK" button.
  tHook = SetWindowsHookExW(WH_CBT, RenameOkButton, nullptr, GetCurrentThreadId());
  MessageBoxW(AOwner, Utf8ToWide(AText).c_str(), Utf8ToWide(ACaption).c_str(), MB_OK | MB_ICONERROR);
  if (tHook) UnhookWindowsHookEx(tHook);
  tHook = nullptr;
}
