// TMagnetic: window snapping. While the user moves or resizes a registered
// top-level window, its edges snap to the work area of its monitor and to the
// other registered windows within SnapWidth pixels. A window registered with
// a parent is glued to it while it touches it, directly or through a chain of
// touching siblings, and moving the parent carries every glued window along.
//
// All of the geometry lives here and runs natively; the system reaches it
// through TQD_WindowsPort (rects, visibility, cursor, work area, batched
// moves) and through the message callback, which takes the few messages that
// matter already decoded. magnetic_win32.h has the Win32 port and the hooks.
//
// Rectangles are screen pixels, right and bottom exclusive, as GetWindowRect
// gives them.
#pragma once

#include <cstdint>
#include <vector>

#include "render/bitmap32.h"

// A window as the system knows it; 0 is no window (and the desktop).
using TQD_WindowId = std::uintptr_t;

struct TQD_Point {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TQD_Point&, const TQD_Point&) = default;
};

// One window of a batched move: its new top-left, size and z-order kept.
struct TQD_WindowMove {
  TQD_WindowId Window = 0;
  int Left = 0;
  int Top = 0;
  friend bool operator==(const TQD_WindowMove&, const TQD_WindowMove&) = default;
};

// What snapping asks of the windowing system.
class TQD_WindowsPort {
 public:
  virtual ~TQD_WindowsPort() = default;
  virtual bool IsWindow(TQD_WindowId AWindow) const = 0;
  virtual bool IsWindowVisible(TQD_WindowId AWindow) const = 0;
  virtual bool IsZoomed(TQD_WindowId AWindow) const = 0;
  // The outer rectangle; empty when the window is gone.
  virtual TRect WindowRect(TQD_WindowId AWindow) const = 0;
  virtual TQD_Point CursorPos() const = 0;
  // The work area of the monitor that holds most of ARect (the nearest one
  // when it lies on none).
  virtual TRect WorkArea(const TRect& ARect) const = 0;
  // Moves all windows at once, without resizing, reordering or activating.
  virtual void MoveWindows(const std::vector<TQD_WindowMove>& AMoves) = 0;
};

// The message numbers the callback acts on (the system's own values).
inline constexpr uint32_t QD_WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr uint32_t QD_WM_COMMAND = 0x0111;
inline constexpr uint32_t QD_WM_SYSCOMMAND = 0x0112;
inline constexpr uint32_t QD_WM_SIZING = 0x0214;
inline constexpr uint32_t QD_WM_MOVING = 0x0216;
inline constexpr uint32_t QD_WM_ENTERSIZEMOVE = 0x0231;
inline constexpr uint32_t QD_WM_EXITSIZEMOVE = 0x0232;
inline constexpr uint32_t QD_SWP_SHOWWINDOW = 0x0040;
inline constexpr uint32_t QD_SWP_HIDEWINDOW = 0x0080;
inline constexpr uintptr_t QD_SC_MINIMIZE = 0xF020;
inline constexpr uintptr_t QD_SC_RESTORE = 0xF120;

// A message as the callback sees it: lParam comes decoded, since what it
// points to is the caller's business.
struct TQD_MagneticMessage {
  uint32_t Msg = 0;
  uintptr_t WParam = 0;
  uint32_t WindowPosFlags = 0;  // WM_WINDOWPOSCHANGED: the WINDOWPOS flags
  TRect Rect;                   // WM_SIZING, WM_MOVING: the proposed rectangle, adjusted in place
  intptr_t Result = 0;
};

// The callback AddWindow hands out. Returns false once no TMagnetic exists;
// bHandled tells the caller to skip the window's own handling and return
// Msg.Result.
using TSubClass_Proc = bool (*)(TQD_WindowId lng_hWnd, uint32_t uMsg, TQD_MagneticMessage& Msg,
                                bool& bHandled);

struct TWND_INFO {
  TQD_WindowId h_wnd = 0;
  TQD_WindowId hWndParent = 0;
  bool Glue = false;
};

// Touching: no gap between A and B in either direction, and at least one
// pair of their edges on the same line.
bool Touching(const TRect& A, const TRect& B);

class TMagnetic {
 public:
  // The one instance the callback reaches; the last one created wins.
  explicit TMagnetic(TQD_WindowsPort& APort);
  ~TMagnetic();
  TMagnetic(const TMagnetic&) = delete;
  TMagnetic& operator=(const TMagnetic&) = delete;

  static TMagnetic* Instance() { return FInstance; }

  int SnapWidth() const { return FSnapWidth; }
  void SetSnapWidth(int AValue) { FSnapWidth = AValue; }

  // False (and no callback) when Handle is registered already or is not a
  // window, or when hWndParent is neither 0 nor a window. A window that names
  // itself as parent has none.
  bool AddWindow(TQD_WindowId Handle, TQD_WindowId hWndParent, TSubClass_Proc& FuncPointer);
  // Children of Handle lose their parent.
  bool RemoveWindow(TQD_WindowId Handle);
  // Recomputes every Glue flag from the windows' current rectangles.
  void CheckGlueing();

  // The handed-out callback: finds the instance and runs Message.
  static bool SubClassProc(TQD_WindowId lng_hWnd, uint32_t uMsg, TQD_MagneticMessage& Msg, bool& bHandled);
  void Message(TQD_WindowId H, TQD_MagneticMessage& Msg, bool& bHandled);

  int WindowCount() const { return m_lWndCount; }
  // The entry of a registered window, nullptr for others.
  const TWND_INFO* WindowInfo(TQD_WindowId AWindow) const;

 private:
  int IndexOf(TQD_WindowId AWindow) const;  // 1..count, 0 when not registered
  bool Visible(int AIndex) const;
  // Is window i a snap candidate while H moves or is resized? The work area always is.
  bool Candidate(int AIndex, int AH) const;
  void StartSizeMove(int AH);
  void Sizing(int AH, uintptr_t AEdge, TRect& R);
  void Moving(int AH, TRect& R);
  // The four move tests of R against W, per axis; each match overrides dx or dy.
  void SnapMove(const TRect& R, const TRect& W, int& dx, int& dy) const;

  static inline TMagnetic* FInstance = nullptr;
  TQD_WindowsPort& FPort;

  int FSnapWidth = 15;
  std::vector<TWND_INFO> m_uWndInfo{TWND_INFO{}};  // element 0 is the desktop
  std::vector<TRect> m_rcWnd{TRect{}};             // element 0 is the work area
  int m_lWndCount = 0;
  TQD_Point m_ptAnchor;
  TQD_Point m_ptOffset;
  TQD_Point m_ptCurr;
  TQD_Point m_ptLast;
  std::vector<TQD_WindowMove> FMoves;  // reused by every move step
};
