// RAII for the GDI objects the graphics code creates: one type per kind.
// A GDI object that outlives its use is a leak the user sees as a growing
// GDI count in Task Manager, so nothing here is released by hand.
#pragma once

#include <windows.h>

#include <utility>

// A pen, brush, font, bitmap or region, deleted with DeleteObject. It must
// not be selected into a DC when it goes (TQD_GdiSelection sees to that).
class TQD_GdiObject {
 public:
  TQD_GdiObject() = default;
  explicit TQD_GdiObject(HGDIOBJ AObject) : FObject(AObject) {}
  ~TQD_GdiObject() { Reset(); }
  TQD_GdiObject(TQD_GdiObject&& A) noexcept : FObject(std::exchange(A.FObject, nullptr)) {}
  TQD_GdiObject& operator=(TQD_GdiObject&& A) noexcept {
    if (this != &A) {
      Reset();
      FObject = std::exchange(A.FObject, nullptr);
    }
    return *this;
  }
  HGDIOBJ Get() const { return FObject; }
  explicit operator bool() const { return FObject != nullptr; }
  void Reset() {
    if (FObject) DeleteObject(FObject);
    FObject = nullptr;
  }

 private:
  HGDIOBJ FObject = nullptr;
};

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class TQD_MemoryDC {
 public:
  TQD_MemoryDC() = default;
  explicit TQD_MemoryDC(HDC ADC) : FDC(ADC) {}
  ~TQD_MemoryDC() {
    if (FDC) DeleteDC(FDC);
  }
  TQD_MemoryDC(TQD_MemoryDC&& A) noexcept : FDC(std::exchange(A.FDC, nullptr)) {}
  TQD_MemoryDC& operator=(TQD_MemoryDC&& A) noexcept {
    std::swap(FDC, A.FDC);
    return *this;
  }
  HDC Get() const { return FDC; }
  explicit operator bool() const { return FDC != nullptr; }

 private:
  HDC FDC = nullptr;
};

// Selects an object into a DC for a scope and puts the previous one back.
class TQD_GdiSelection {
 public:
  TQD_GdiSelection(HDC ADC, HGDIOBJ AObject) : FDC(ADC), FOld(ADC && AObject ? SelectObject(ADC, AObject) : nullptr) {}
  ~TQD_GdiSelection() {
    if (FOld && FOld != HGDI_ERROR) SelectObject(FDC, FOld);
  }
  TQD_GdiSelection(const TQD_GdiSelection&) = delete;
  TQD_GdiSelection& operator=(const TQD_GdiSelection&) = delete;
  bool Ok() const { return FOld != nullptr && FOld != HGDI_ERROR; }

 private:
  HDC FDC;
  HGDIOBJ FOld;
};
