// The about window; see about_window_win32.h.
#include "app/about_window_win32.h"

#include <cstdint>
#include <vector>

#include "base/win32_handles_win32.h"

namespace {

// A DLGTEMPLATE and its items, written word by word as the format asks.
class TTemplate {
 public:
  void Word(uint16_t A) { FWords.push_back(A); }
  void DWord(uint32_t A) {
    Word(static_cast<uint16_t>(A & 0xFFFF));
    Word(static_cast<uint16_t>(A >> 16));
  }
  void Text(const std::wstring& A) {
    for (wchar_t c : A) Word(static_cast<uint16_t>(c));
    Word(0);
  }
  // Items start on a DWORD boundary.
  void Align() {
    if (FWords.size() % 2) Word(0);
  }
  void Item(uint16_t AClass, const std::wstring& AText, DWORD AStyle, short X, short Y, short W, short H, WORD AID) {
    Align();
    DWord(AStyle | WS_CHILD | WS_VISIBLE);
    DWord(0);  // extended style
    Word(static_cast<uint16_t>(X));
    Word(static_cast<uint16_t>(Y));
    Word(static_cast<uint16_t>(W));
    Word(static_cast<uint16_t>(H));
    Word(AID);
    Word(0xFFFF);  // a predefined class by atom
    Word(AClass);
    Text(AText);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FWords.data()); }

 private:
  std::vector<uint16_t> FWords;
};

constexpr uint16_t kButton = 0x0080;
constexpr uint16_t kStatic = 0x0082;

INT_PTR CALLBACK AboutProc(HWND ADialog, UINT AMessage, WPARAM AWParam, LPARAM) {
  switch (AMessage) {
    case WM_INITDIALOG: return TRUE;  // focus on the OK button
    case WM_COMMAND:
      if (LOWORD(AWParam) == IDOK || LOWORD(AWParam) == IDCANCEL) {
        EndDialog(ADialog, IDOK);
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

}  // namespace

void ShowAboutWindow(HWND AOwner, const TQD_AboutInfo& AInfo) {
  const std::wstring lines[] = {
      L"Quendal",
      L"Version " + Utf8ToWide(AInfo.VersionText) + L" (64 bit)",
      L"Build date: " + Utf8ToWide(AInfo.BuildDateText),
      L"Small desktop windows showing clock, CPU, GPU, drive and network readings.",
      L"Needs HWiNFO running with its shared memory support switched on.",
      L"Licence: free to use and to pass on; provided as is, without any warranty.",
  };
  constexpr short kWidth = 300, kLine = 10, kMargin = 10;
  TTemplate t;
  constexpr int kItems = 7;
  t.DWord(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.DWord(0);
  t.Word(kItems);
  t.Word(0);
  t.Word(0);
  t.Word(kWidth);
  t.Word(static_cast<uint16_t>(kMargin * 2 + kItems * kLine + 24));
  t.Word(0);  // no menu
  t.Word(0);  // the standard dialog class
  t.Text(L"About Quendal");
  t.Word(8);
  t.Text(L"Tahoma");
  short y = kMargin;
  for (const std::wstring& line : lines) {
    t.Item(kStatic, line, SS_LEFT | SS_NOPREFIX, kMargin, y, kWidth - 2 * kMargin, kLine, static_cast<WORD>(-1));
    y = static_cast<short>(y + kLine + (line == lines[2] ? kLine / 2 : 0));
  }
  t.Item(kButton, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, (kWidth - 50) / 2, static_cast<short>(y + 10), 50, 14, IDOK);
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), AOwner, AboutProc, 0);
}
