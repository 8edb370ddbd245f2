// RAII for every Win32 handle the program holds: one template, one deleter
// per handle kind, each destroying exactly what it owns the way that kind
// requires:
//   HANDLE (kernel)  CloseHandle       mapped view   UnmapViewOfFile
//   HKEY             RegCloseKey (predefined roots are never closed)
//   HWND             DestroyWindow     HMENU         DestroyMenu
//   HICON            DestroyIcon       HFONT, HBRUSH, HBITMAP, HPEN  DeleteObject
//   HDC (GetDC)      ReleaseDC         HDC (CreateCompatibleDC)      DeleteDC
// Release() gives the handle up without destroying it; call it only where
// something else takes ownership (a parent menu destroys its submenus, a
// window class or the system keeps an icon) and say so at the call site.
// BeginPaint/EndPaint and SelectObject are scopes, not handles: see the end.
// Also the UTF-8/UTF-16 conversion at the Win32 boundary.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

// Live handles per kind held by the handle types here (and by the window
// base, which owns its HWND itself), for the diagnostics file: Wine does not
// implement GetGuiResources, so we count what we own. A count that grows with
// polls or rebuilds is a leak. A deleter names its kind; one that names none
// (a buffer the system allocated) is not counted.
enum TQD_HandleKind { hkGdi, hkUser, hkKernel, hkView, hkCount };
void CountHandle(TQD_HandleKind AKind, long ADelta);
long LiveHandleCount(TQD_HandleKind AKind);

template <typename THandle, typename TDeleter>
class TQD_UniqueHandle {
 public:
  TQD_UniqueHandle() = default;
  explicit TQD_UniqueHandle(THandle AHandle, TDeleter ADeleter = {}) : FHandle(AHandle), FDeleter(ADeleter) {
    Count(FHandle, 1);
  }
  ~TQD_UniqueHandle() { Reset(); }
  TQD_UniqueHandle(const TQD_UniqueHandle&) = delete;
  TQD_UniqueHandle& operator=(const TQD_UniqueHandle&) = delete;
  TQD_UniqueHandle(TQD_UniqueHandle&& A) noexcept
      : FHandle(std::exchange(A.FHandle, THandle{})), FDeleter(A.FDeleter) {}
  TQD_UniqueHandle& operator=(TQD_UniqueHandle&& A) noexcept {
    if (this != &A) {
      Reset();
      FHandle = std::exchange(A.FHandle, THandle{});  // a new owner, the same count
      FDeleter = A.FDeleter;
    }
    return *this;
  }

  THandle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != THandle{}; }
  void Reset(THandle AHandle = THandle{}) {
    if (FHandle == AHandle) return;
    if (FHandle != THandle{}) FDeleter(FHandle);
    Count(FHandle, -1);
    Count(AHandle, 1);
    FHandle = AHandle;
  }
  // Hands the handle to a new owner that destroys it; see the file comment.
  [[nodiscard]] THandle Release() {
    Count(FHandle, -1);
    return std::exchange(FHandle, THandle{});
  }

 private:
  // A move changes the owner, not the count.
  static void Count(THandle AHandle, long ADelta) {
    if constexpr (requires { TDeleter::Kind; })
      if (AHandle != THandle{}) CountHandle(TDeleter::Kind, ADelta);
  }

  THandle FHandle{};
  TDeleter FDeleter{};
};

struct TQD_CloseHandle {
  static constexpr TQD_HandleKind Kind = hkKernel;
  void operator()(HANDLE AHandle) const { CloseHandle(AHandle); }
};
struct TQD_UnmapView {
  static constexpr TQD_HandleKind Kind = hkView;
  void operator()(void* AView) const { UnmapViewOfFile(AView); }
};
struct TQD_RegCloseKey {
  static constexpr TQD_HandleKind Kind = hkKernel;
  void operator()(HKEY AKey) const {
    // The predefined roots (HKEY_CURRENT_USER, ...) lie in 0x80000000..0x8000000F.
    const auto value = reinterpret_cast<ULONG_PTR>(AKey);
    if (value < 0x80000000u || value > 0x8000000Fu) RegCloseKey(AKey);
  }
};
struct TQD_DestroyWindow {
  static constexpr TQD_HandleKind Kind = hkUser;
  void operator()(HWND AHandle) const { DestroyWindow(AHandle); }
};
struct TQD_DestroyMenu {
  static constexpr TQD_HandleKind Kind = hkUser;
  void operator()(HMENU AHandle) const { DestroyMenu(AHandle); }
};
struct TQD_DestroyIcon {
  static constexpr TQD_HandleKind Kind = hkUser;
  void operator()(HICON AHandle) const { DestroyIcon(AHandle); }
};
struct TQD_DeleteObject {
  static constexpr TQD_HandleKind Kind = hkGdi;
  void operator()(HGDIOBJ AHandle) const { DeleteObject(AHandle); }
};
struct TQD_DeleteDC {
  static constexpr TQD_HandleKind Kind = hkGdi;
  void operator()(HDC AHandle) const { DeleteDC(AHandle); }
};
// ReleaseDC needs the window the DC came from.
struct TQD_ReleaseDC {
  static constexpr TQD_HandleKind Kind = hkGdi;
  HWND Window = nullptr;
  void operator()(HDC AHandle) const { ReleaseDC(Window, AHandle); }
};

// A kernel object handle (null when there is none; not INVALID_HANDLE_VALUE-based).
using TQD_KernelHandle = TQD_UniqueHandle<HANDLE, TQD_CloseHandle>;
using TQD_ViewOfFile = TQD_UniqueHandle<void*, TQD_UnmapView>;
using TQD_RegKey = TQD_UniqueHandle<HKEY, TQD_RegCloseKey>;
using TQD_WindowHandle = TQD_UniqueHandle<HWND, TQD_DestroyWindow>;
using TQD_MenuHandle = TQD_UniqueHandle<HMENU, TQD_DestroyMenu>;
using TQD_IconHandle = TQD_UniqueHandle<HICON, TQD_DestroyIcon>;
// Distinct types per GDI kind, so an HFONT holder cannot take an HBRUSH.
using TQD_FontHandle = TQD_UniqueHandle<HFONT, TQD_DeleteObject>;
using TQD_BrushHandle = TQD_UniqueHandle<HBRUSH, TQD_DeleteObject>;
using TQD_BitmapHandle = TQD_UniqueHandle<HBITMAP, TQD_DeleteObject>;
using TQD_PenHandle = TQD_UniqueHandle<HPEN, TQD_DeleteObject>;
using TQD_RegionHandle = TQD_UniqueHandle<HRGN, TQD_DeleteObject>;
// A memory DC from CreateCompatibleDC.
using TQD_MemoryDC = TQD_UniqueHandle<HDC, TQD_DeleteDC>;
// A window's (or the screen's, for a null window) DC from GetDC.
using TQD_WindowDC = TQD_UniqueHandle<HDC, TQD_ReleaseDC>;
inline TQD_WindowDC QD_GetWindowDC(HWND AWindow) { return TQD_WindowDC(GetDC(AWindow), TQD_ReleaseDC{AWindow}); }

// BeginPaint/EndPaint for one WM_PAINT; EndPaint must follow every BeginPaint.
class TQD_PaintScope {
 public:
  explicit TQD_PaintScope(HWND AWindow) : FWindow(AWindow), FDC(BeginPaint(AWindow, &FPaint)) {}
  ~TQD_PaintScope() {
    if (FDC) EndPaint(FWindow, &FPaint);
  }
  TQD_PaintScope(const TQD_PaintScope&) = delete;
  TQD_PaintScope& operator=(const TQD_PaintScope&) = delete;
  HDC DC() const { return FDC; }
  const PAINTSTRUCT& Paint() const { return FPaint; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
  HDC FDC;
};

// Selects an object into a DC and puts the previous one back at scope end:
// an object still selected into a DC cannot be deleted.
class TQD_SelectObjectScope {
 public:
  TQD_SelectObjectScope(HDC ADC, HGDIOBJ AObject) : FDC(ADC), FPrevious(SelectObject(ADC, AObject)) {}
  ~TQD_SelectObjectScope() {
    if (Selected()) SelectObject(FDC, FPrevious);
  }
  TQD_SelectObjectScope(const TQD_SelectObjectScope&) = delete;
  TQD_SelectObjectScope& operator=(const TQD_SelectObjectScope&) = delete;
  // False when the selection failed (the object is then not in the DC).
  bool Selected() const { return FPrevious && FPrevious != HGDI_ERROR; }

 private:
  HDC FDC;
  HGDIOBJ FPrevious;
};

// UTF-8 <-> UTF-16 at the Win32 boundary. Utf8ToWide replaces what is not
// UTF-8; Utf8ToWideExact refuses it (false), as a file name must.
std::wstring Utf8ToWide(const std::string& AText);
bool Utf8ToWideExact(const std::string& AText, std::wstring& AWide);
std::string WideToUtf8(const wchar_t* AText, size_t ALength);
inline std::string WideToUtf8(const std::wstring& AText) { return WideToUtf8(AText.data(), AText.size()); }
// The system's message for an error code, without the trailing line break.
std::string SystemErrorText(DWORD ACode);
