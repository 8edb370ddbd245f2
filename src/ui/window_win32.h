// TQD_Window: the base of every window the program creates, top-level or
// message-only. A subclass names its window class (registered once per
// process), creates its HWND with Create and handles messages in
// HandleMessage; what it leaves unhandled goes to DefWindowProcW.
//
// The object and its HWND find each other through the window's extra bytes
// (set at WM_NCCREATE, cleared at WM_NCDESTROY). Hooks such as window
// snapping go through SetWindowSubclass and leave both the extra bytes and
// GWLP_USERDATA alone.
//
// No exception crosses the window procedure: one thrown by a handler goes to
// HandleApplicationException and the message gets its default handling, so
// the window keeps working. The base also handles WM_DPICHANGED: it applies
// the rectangle the system suggests and tells the subclass through
// DpiChanging/DpiChanged.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/dpi.h"

struct TQD_WindowCreateParams {
  std::wstring Caption;
  DWORD Style = WS_OVERLAPPEDWINDOW;
  DWORD ExStyle = 0;
  int Left = CW_USEDEFAULT;
  int Top = CW_USEDEFAULT;
  int Width = CW_USEDEFAULT;
  int Height = CW_USEDEFAULT;
  // Parent of a child window, owner of a top-level window (the two share the
  // argument of CreateWindowEx), HWND_MESSAGE for a message-only window.
  HWND Parent = nullptr;
};

class TQD_Window {
 public:
  virtual ~TQD_Window();
  TQD_Window(const TQD_Window&) = delete;
  TQD_Window& operator=(const TQD_Window&) = delete;

  // Registers the class on first use and creates the window. Throws
  // std::runtime_error with the system's reason when either fails, or when
  // the object already has a window.
  void Create(const TQD_WindowCreateParams& AParams);
  // Destroys the window now; a later Create makes a new one. Call it from the
  // thread that created the window (DestroyWindow fails elsewhere; the window
  // is then at least cut off from the object).
  void Destroy();

  HWND Handle() const { return FHandle; }
  const std::wstring& ClassName() const { return FClassName; }
  // The window's DPI as last known: at creation and after each WM_DPICHANGED.
  int DPI() const { return FDPI; }
  // The object behind a window of this toolkit, nullptr for other windows and
  // for a window being destroyed.
  static TQD_Window* FromHandle(HWND AHandle);

  // A procedure that sees each message of this window before the window's
  // own handling, which it runs through ANext (window snapping). One per
  // window, kept until WM_NCDESTROY (which it does not see) or until replaced;
  // {} removes it. Unlike a comctl32 subclass it needs no lookup per message,
  // which under Wine is a request to the server.
  class TNext {
   public:
    LRESULT operator()(UINT AMessage, WPARAM AWParam, LPARAM ALParam) const {
      return FWindow->Dispatch(FHandle, AMessage, AWParam, ALParam);
    }

   private:
    friend class TQD_Window;
    TNext(TQD_Window* AWindow, HWND AHandle) : FWindow(AWindow), FHandle(AHandle) {}
    TQD_Window* FWindow;
    HWND FHandle;
  };
  struct TMessageHook {
    LRESULT (*Proc)(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam, uintptr_t AData,
                    const TNext& ANext) = nullptr;
    uintptr_t Data = 0;
  };
  void SetMessageHook(TMessageHook AHook) { FHook = AHook; }

 protected:
  // AClassName: the window class, shared by all objects that pass the same
  // name (the control panel's fixed class name is how a second instance
  // finds the first).
  explicit TQD_Window(std::wstring AClassName);

  // Every message of the window, including those before WM_CREATE (from
  // WM_NCCREATE on) and WM_NCDESTROY (by then Handle() is already null).
  // Return true with AResult set when the message is handled; false passes
  // it to DefWindowProcW. WM_DPICHANGED is
  // handled by the base and does not arrive here.
  virtual bool HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
    return false;
  }
  // Around the move to the rectangle suggested by WM_DPICHANGED: DpiChanging
  // before it (a window may lock its drawing), DpiChanged after it (rescale
  // fonts and content). DPI() returns the new DPI in both.
  virtual void DpiChanging(int AOldDPI, int ANewDPI) {}
  virtual void DpiChanged(int AOldDPI, int ANewDPI) {}
  // Lets a subclass adjust its class before registration (cursor, icon,
  // background brush, CS_DBLCLKS); lpfnWndProc, cbWndExtra, hInstance and
  // lpszClassName are the base's.
  virtual void PrepareClass(WNDCLASSEXW& AClass) {}

 private:
  static LRESULT CALLBACK WindowProc(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam);
  LRESULT Dispatch(HWND AWnd, UINT AMessage, WPARAM AWParam, LPARAM ALParam);
  void HandleDpiChanged(WPARAM AWParam, LPARAM ALParam);
  void RegisterClassOnce();

  std::wstring FClassName;
  HWND FHandle = nullptr;
  int FDPI = QD_DefaultDPI;
  TMessageHook FHook;
};

// The DPI of a window: GetDpiForWindow where the system has it (Windows 10
// 1607 and later), else the screen DC's LOGPIXELSX.
int GetWindowDPI(HWND AWindow);
