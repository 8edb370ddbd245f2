// RAII wrappers for the USER and GDI handles the windows hold; kernel handles
// are in win32_handles_win32.h. One type per handle kind, each destroying its
// handle the way that kind requires:
//   HWND            DestroyWindow        HMENU        DestroyMenu
//   HICON           DestroyIcon          HFONT, HBRUSH, HBITMAP, HPEN  DeleteObject
//   HDC (GetDC)     ReleaseDC            HDC (CreateCompatibleDC)      DeleteDC
// Release() gives the handle up without destroying it; call it only where
// something else takes ownership (a parent menu destroys its submenus, a
// window class or the system keeps an icon) and say so at the call site.
#pragma once

#include <windows.h>

#include <utility>

#include "base/win32_handles_win32.h"

template <typename THandle, typename TTraits>
class TQD_UniqueHandle {
 public:
  TQD_UniqueHandle() = default;
  explicit TQD_UniqueHandle(THandle AHandle) : FHandle(AHandle) {
    if (FHandle) CountHandle(TTraits::Kind, 1);
  }
  ~TQD_UniqueHandle() { Reset(); }
  TQD_UniqueHandle(const TQD_UniqueHandle&) = delete;
  TQD_UniqueHandle& operator=(const TQD_UniqueHandle&) = delete;
  TQD_UniqueHandle(TQD_UniqueHandle&& A) noexcept : FHandle(std::exchange(A.FHandle, nullptr)) {}
  TQD_UniqueHandle& operator=(TQD_UniqueHandle&& A) noexcept {
    // The handle changes owner, not count.
    if (this != &A) {
      Reset();
      FHandle = std::exchange(A.FHandle, nullptr);
    }
    return *this;
  }

  THandle Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  void Reset(THandle AHandle = nullptr) {
    if (FHandle == AHandle) return;
    if (FHandle) {
      TTraits::Destroy(FHandle);
      CountHandle(TTraits::Kind, -1);
    }
    if (AHandle) CountHandle(TTraits::Kind, 1);
    FHandle = AHandle;
  }
  // Hands the handle to a new owner that destroys it; see the file comment.
  [[nodiscard]] THandle Release() {
    if (FHandle) CountHandle(TTraits::Kind, -1);
    return std::exchange(FHandle, nullptr);
  }

 private:
  THandle FHandle = nullptr;
};

struct TQD_WindowTraits {
  static constexpr TQD_HandleKind Kind = hkUser;
  static void Destroy(HWND AHandle) { DestroyWindow(AHandle); }
};
struct TQD_MenuTraits {
  static constexpr TQD_HandleKind Kind = hkUser;
  static void Destroy(HMENU AHandle) { DestroyMenu(AHandle); }
};
struct TQD_IconTraits {
  static constexpr TQD_HandleKind Kind = hkUser;
  static void Destroy(HICON AHandle) { DestroyIcon(AHandle); }
};
// Distinct traits per GDI kind so an HFONT holder cannot take an HBRUSH.
template <typename THandle>
struct TQD_GdiObjectTraits {
  static constexpr TQD_HandleKind Kind = hkGdi;
  static void Destroy(THandle AHandle) { DeleteObject(AHandle); }
};
struct TQD_MemoryDCTraits {
  static constexpr TQD_HandleKind Kind = hkGdi;
  static void Destroy(HDC AHandle) { DeleteDC(AHandle); }
};

using TQD_WindowHandle = TQD_UniqueHandle<HWND, TQD_WindowTraits>;
using TQD_MenuHandle = TQD_UniqueHandle<HMENU, TQD_MenuTraits>;
using TQD_IconHandle = TQD_UniqueHandle<HICON, TQD_IconTraits>;
using TQD_FontHandle = TQD_UniqueHandle<HFONT, TQD_GdiObjectTraits<HFONT>>;
using TQD_BrushHandle = TQD_UniqueHandle<HBRUSH, TQD_GdiObjectTraits<HBRUSH>>;
using TQD_BitmapHandle = TQD_UniqueHandle<HBITMAP, TQD_GdiObjectTraits<HBITMAP>>;
using TQD_PenHandle = TQD_UniqueHandle<HPEN, TQD_GdiObjectTraits<HPEN>>;
// A memory DC from CreateCompatibleDC.
using TQD_MemoryDC = TQD_UniqueHandle<HDC, TQD_MemoryDCTraits>;

// A window's (or the screen's, for a null window) DC from GetDC, given back
// with ReleaseDC: the release needs the window, so it is a type of its own.
class TQD_WindowDC {
 public:
  explicit TQD_WindowDC(HWND AWindow) : FWindow(AWindow), FDC(GetDC(AWindow)) {
    if (FDC) CountHandle(hkGdi, 1);
  }
  ~TQD_WindowDC() {
    if (FDC) {
      ReleaseDC(FWindow, FDC);
      CountHandle(hkGdi, -1);
    }
  }
  TQD_WindowDC(const TQD_WindowDC&) = delete;
  TQD_WindowDC& operator=(const TQD_WindowDC&) = delete;
  HDC Get() const { return FDC; }
  explicit operator bool() const { return FDC != nullptr; }

 private:
  HWND FWindow;
  HDC FDC;
};

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
    if (FPrevious && FPrevious != HGDI_ERROR) SelectObject(FDC, FPrevious);
  }
  TQD_SelectObjectScope(const TQD_SelectObjectScope&) = delete;
  TQD_SelectObjectScope& operator=(const TQD_SelectObjectScope&) = delete;
  // False when the selection failed (the object is then not in the DC).
  bool Selected() const { return FPrevious && FPrevious != HGDI_ERROR; }

 private:
  HDC FDC;
  HGDIOBJ FPrevious;
};
