// uiclick: presses a child button of another program's top-level window, for
// scripts that drive Quendal without a test harness.
//
//   uiclick click|on|is-on WINDOW CHILD [--wait-ms N]
//
// WINDOW is a window class or, failing that, a window caption; CHILD is the
// child's text. "click" presses a button; "on" clicks only an unchecked switch
// and succeeds once it reads checked; "is-on" only reports. Waits up to N ms
// (default 30000) for both windows to appear. Exit code 0 on success, 1 when
// the windows never appeared or the state is not the one wanted, 2 on usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct TSearch {
  const wchar_t* Text;
  HWND Found;
};

std::wstring TextOf(HWND AWindow) {
  wchar_t text[256] = {};
  // WM_GETTEXT, not GetWindowText: the child belongs to another process.
  SendMessageTimeoutW(AWindow, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, nullptr);
  return text;
}

HWND FindChild(HWND AParent, const wchar_t* AText) {
  TSearch search{AText, nullptr};
  EnumChildWindows(
      AParent,
      [](HWND AChild, LPARAM ASearch) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(ASearch);
        if (TextOf(AChild) != s->Text) return TRUE;
        // A group box may carry the same text as the switch inside it.
        const LONG_PTR style = GetWindowLongPtrW(AChild, GWL_STYLE);
        wchar_t name[64] = {};
        GetClassNameW(AChild, name, 64);
        if (_wcsicmp(name, L"Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX) return TRUE;
        s->Found = AChild;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

bool Checked(HWND AChild) { return SendMessageW(AChild, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fputs("usage: uiclick click|on|is-on WINDOW CHILD [--wait-ms N]\n", stderr);
    return 2;
  }
  const std::wstring mode = argv[1];
  if (mode != L"click" && mode != L"on" && mode != L"is-on") {
    std::fputs("uiclick: the mode is click, on or is-on\n", stderr);
    return 2;
  }
  DWORD waitMs = 30000;
  if (argc >= 6 && std::wcscmp(argv[4], L"--wait-ms") == 0) waitMs = static_cast<DWORD>(_wtoi(argv[5]));

  HWND child = nullptr;
  for (DWORD waited = 0;; waited += 100) {
    HWND window = FindWindowW(argv[2], nullptr);
    if (!window) window = FindWindowW(nullptr, argv[2]);
    if (window) child = FindChild(window, argv[3]);
    if (child || waited >= waitMs) break;
    Sleep(100);
  }
  if (!child) {
    std::fprintf(stderr, "uiclick: no window \"%ls\" with a child \"%ls\"\n", argv[2], argv[3]);
    return 1;
  }
  if (mode == L"is-on") return Checked(child) ? 0 : 1;
  if (mode == L"on" && Checked(child)) return 0;
  DWORD_PTR result = 0;
  if (mode == L"click")  // what a press tells the parent; BM_CLICK may wait for an active window
    SendMessageTimeoutW(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED),
                        reinterpret_cast<LPARAM>(child), SMTO_BLOCK, 10000, &result);
  else  // a switch changes its own state first
    SendMessageTimeoutW(child, BM_CLICK, 0, 0, SMTO_BLOCK, 10000, &result);
  if (mode == L"on" && !Checked(child)) {
    std::fprintf(stderr, "uiclick: \"%ls\" did not switch on\n", argv[3]);
    return 1;
  }
  return 0;
}
