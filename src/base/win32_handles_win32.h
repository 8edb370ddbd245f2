// RAII wrappers for the Win32 handles the collector holds. One type per
// handle kind; each closes exactly what it owns.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

// Live handles per kind held by the RAII types of this folder (and by the
// window base, which owns its HWND itself), for the diagnostics file: Wine
// does not implement GetGuiResources, so we count what we own. A count that
// grows with polls or rebuilds is a leak.
enum TQD_HandleKind { hkGdi, hkUser, hkKernel, hkView, hkCount };
void CountHandle(TQD_HandleKind AKind, long ADelta);
long LiveHandleCount(TQD_HandleKind AKind);

// A kernel object handle closed with CloseHandle (not INVALID_HANDLE_VALUE-based).
class TQD_KernelHandle {
 public:
  TQD_KernelHandle() = default;
  explicit TQD_KernelHandle(HANDLE AHandle) : FHandle(AHandle) {
    if (FHandle) CountHandle(hkKernel, 1);
  }
  ~TQD_KernelHandle() { Reset(); }
  TQD_KernelHandle(TQD_KernelHandle&& A) noexcept : FHandle(std::exchange(A.FHandle, nullptr)) {}
  TQD_KernelHandle& operator=(TQD_KernelHandle&& A) noexcept {
    if (this != &A) {
      Reset();
      FHandle = std::exchange(A.FHandle, nullptr);
    }
    return *this;
  }
  HANDLE Get() const { return FHandle; }
  explicit operator bool() const { return FHandle != nullptr; }
  void Reset() {
    if (FHandle) {
      CloseHandle(FHandle);
      CountHandle(hkKernel, -1);
    }
    FHandle = nullptr;
  }

 private:
  HANDLE FHandle = nullptr;
};

// A mapped view, unmapped with UnmapViewOfFile.
class TQD_ViewOfFile {
 public:
  TQD_ViewOfFile() = default;
  explicit TQD_ViewOfFile(void* AView) : FView(AView) {
    if (FView) CountHandle(hkView, 1);
  }
  ~TQD_ViewOfFile() {
    if (FView) {
      UnmapViewOfFile(FView);
      CountHandle(hkView, -1);
    }
  }
  TQD_ViewOfFile(TQD_ViewOfFile&& A) noexcept : FView(std::exchange(A.FView, nullptr)) {}
  TQD_ViewOfFile& operator=(TQD_ViewOfFile&& A) noexcept {
    std::swap(FView, A.FView);
    return *this;
  }
  void* Get() const { return FView; }
  explicit operator bool() const { return FView != nullptr; }

 private:
  void* FView = nullptr;
};

// UTF-8 ↔ UTF-16 at the Win32 boundary.
std::wstring Utf8ToWide(const std::string& AText);
std::string WideToUtf8(const wchar_t* AText, size_t ALength);
inline std::string WideToUtf8(const std::wstring& AText) { return WideToUtf8(AText.data(), AText.size()); }
// The system's message for an error code, without the trailing line break.
std::string SystemErrorText(DWORD ACode);
