// The frame the settings dialogs share: a top-level window owned by the
// control panel, its client 820 × 500 at 96 DPI (scaled to the window's DPI),
// centred on the screen; a page control over rows 1 to 9 of a 6 × 10 grid and
// "OK", "Apply", "Cancel" in columns 4 to 6 of row 10. "OK" applies and
// closes with true, "Apply" applies and stays, "Cancel" (also Escape and the
// close box) closes with false. ShowModal runs its own message loop with the
// owner disabled, so the object is created for one showing and destroyed
// after it. Drawing is locked around a DPI change and everything is laid out
// again after it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/win32_handles_win32.h"
#include "ui/window_win32.h"

// Child control IDs, for tests and UI automation.
enum TQD_SettingsFrameControlID : int {
  sfOK = IDOK,
  sfCancel = IDCANCEL,
  sfApply = 1001,
  sfPageControl = 1002,
  sfFirstPage = 1010,  // + page index: the page windows
};

// One page of the page control: a plain window that hosts controls and lets
// the dialog's keys reach them.
class TQD_SettingsPageWindow final : public TQD_Window {
 public:
  explicit TQD_SettingsPageWindow(HWND AParent, int AID);
  ~TQD_SettingsPageWindow() override { Destroy(); }
  // Runs on every resize, after which the page's content should fill it.
  std::function<void()> OnResize;

 protected:
  void PrepareClass(WNDCLASSEXW& AClass) override;
  bool HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) override;
};

class TQD_SettingsDialogFrame : public TQD_Window {
 public:
  ~TQD_SettingsDialogFrame() override;

  // Shows the dialog and returns when it closes: true for "OK". While one
  // settings dialog runs, another returns false at once and the running one
  // comes to the front.
  bool ShowModal();
  // Closes the running ShowModal with AResult.
  void Close(bool AResult);
  bool Closed() const { return FDone; }

  HFONT Font() const { return FFont.Get(); }
  HWND PageControl() const { return FPageControl; }
  TQD_SettingsPageWindow& Page(size_t AIndex) { return *FPages.at(AIndex); }
  void SelectPage(int AIndex);

 protected:
  // A fixed frame whose client is AClientWidth96 × AClientHeight96 at 96 DPI.
  TQD_SettingsDialogFrame(const wchar_t* AClassName, HWND AOwner, const std::wstring& ACaption,
                          int AClientWidth96 = 820, int AClientHeight96 = 500);
  // Call from the subclass's constructor, pages first.
  TQD_SettingsPageWindow& AddPage(const std::wstring& ACaption);
  void CreateButtons();

  // "OK" and "Apply".
  virtual void ApplyButtonClick() = 0;
  // Before the window goes, however the dialog was closed.
  virtual void FormClose() {}
  // Lays out the frame's controls; subclasses with their own layout override it.
  virtual void LayoutControls();
  // Commands of the subclass's own controls; true when handled.
  virtual bool HandleCommand(int AID, int ACode, HWND AControl) { return false; }

  bool HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) override;
  void PrepareClass(WNDCLASSEXW& AClass) override;
  void DpiChanging(int AOldDPI, int ANewDPI) override;
  void DpiChanged(int AOldDPI, int ANewDPI) override;

  int Scale(int AValue96) const;
  // Creates a child with the dialog's font.
  HWND AddControl(HWND AParent, const wchar_t* AClass, const std::wstring& AText, DWORD AStyle, int AID,
                  DWORD AExStyle = 0);
  // Client size at the current DPI, and the frame sized and centred to it.
  void ApplyClientSize();

  HWND FOwner;
  int FClientWidth96;
  int FClientHeight96;
  TQD_FontHandle FFont;
  HWND FPageControl = nullptr;
  std::vector<std::unique_ptr<TQD_SettingsPageWindow>> FPages;
  std::vector<HWND> FButtons;  // OK, Apply, Cancel
  std::vector<TQD_IconHandle> FButtonGlyphs;  // theirs, at the current DPI

 private:
  void ShowPage(int AIndex);
  void ScaleButtonGlyphs();
  bool FDone = false;
  bool FResult = false;
  bool FClosing = false;
};
