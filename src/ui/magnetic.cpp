// TMagnetic; see magnetic.h.
#include "ui/magnetic.h"

#include <algorithm>
#include <cstdlib>

namespace {

TRect Shifted(const TRect& R, int dx, int dy) { return {R.Left + dx, R.Top + dy, R.Right + dx, R.Bottom + dy}; }

// Edge codes of WM_SIZING: which edges the user drags.
bool DragsLeft(uintptr_t AEdge) { return AEdge == 1 || AEdge == 4 || AEdge == 7; }
bool DragsRight(uintptr_t AEdge) { return AEdge == 2 || AEdge == 5 || AEdge == 8; }
bool DragsTop(uintptr_t AEdge) { return AEdge == 3 || AEdge == 4 || AEdge == 5; }
bool DragsBottom(uintptr_t AEdge) { return AEdge == 6 || AEdge == 7 || AEdge == 8; }

}  // namespace

bool Touching(const TRect& A, const TRect& B) {
  const int unionWidth = std::max(A.Right, B.Right) - std::min(A.Left, B.Left);
  const int unionHeight = std::max(A.Bottom, B.Bottom) - std::min(A.Top, B.Top);
  if (A.Width() + B.Width() < unionWidth || A.Height() + B.Height() < unionHeight) return false;
  return B.Left == A.Left || A.Left == B.Right || B.Left == A.Right || A.Right == B.Right || A.Top == B.Top ||
         A.Top == B.Bottom || A.Bottom == B.Top || A.Bottom == B.Bottom;
}

TMagnetic::TMagnetic(TQD_WindowsPort& APort) : FPort(APort) { FInstance = this; }

TMagnetic::~TMagnetic() {
  // The hooks outlive us: from now on the callback says so and they pass
  // every message through.
  if (FInstance == this) FInstance = nullptr;
}

int TMagnetic::IndexOf(TQD_WindowId AWindow) const {
  for (int i = 1; i <= m_lWndCount; ++i)
    if (m_uWndInfo[static_cast<size_t>(i)].h_wnd == AWindow) return i;
  return 0;
}

const TWND_INFO* TMagnetic::WindowInfo(TQD_WindowId AWindow) const {
  const int i = IndexOf(AWindow);
  return i ? &m_uWndInfo[static_cast<size_t>(i)] : nullptr;
}

bool TMagnetic::Visible(int AIndex) const {
  return AIndex > 0 && FPort.IsWindowVisible(m_uWndInfo[static_cast<size_t>(AIndex)].h_wnd);
}

bool TMagnetic::Candidate(int AIndex, int AH) const { return AIndex == 0 || (AIndex != AH && Visible(AIndex)); }

bool TMagnetic::AddWindow(TQD_WindowId Handle, TQD_WindowId hWndParent, TSubClass_Proc& FuncPointer) {
  FuncPointer = nullptr;
  if (IndexOf(Handle) || !FPort.IsWindow(Handle)) return false;
  if (hWndParent && !FPort.IsWindow(hWndParent)) return false;
  m_uWndInfo.push_back({Handle, hWndParent == Handle ? 0 : hWndParent, false});
  m_rcWnd.push_back({});
  ++m_lWndCount;
  CheckGlueing();
  FuncPointer = &TMagnetic::SubClassProc;
  return true;
}

bool TMagnetic::RemoveWindow(TQD_WindowId Handle) {
  const int i = IndexOf(Handle);
  if (!i) return false;
  m_uWndInfo.erase(m_uWndInfo.begin() + i);
  m_rcWnd.erase(m_rcWnd.begin() + i);
  --m_lWndCount;
  for (TWND_INFO& info : m_uWndInfo)
    if (info.hWndParent == Handle) info.hWndParent = 0;
  CheckGlueing();
  return true;
}

void TMagnetic::CheckGlueing() {
  const auto n = static_cast<size_t>(m_lWndCount);
  for (size_t i = 1; i <= n; ++i) {
    m_rcWnd[i] = FPort.WindowRect(m_uWndInfo[i].h_wnd);
    m_uWndInfo[i].Glue = false;
  }
  std::vector<bool> visible(n + 1, false);
  for (size_t i = 1; i <= n; ++i) visible[i] = Visible(static_cast<int>(i));

  for (size_t i = 1; i <= n; ++i) {
    if (!visible[i] || !m_uWndInfo[i].hWndParent) continue;
    if (const int p = IndexOf(m_uWndInfo[i].hWndParent))
      m_uWndInfo[i].Glue = Touching(m_rcWnd[static_cast<size_t>(p)], m_rcWnd[i]);
  }
  // Each round reaches one more link of a chain; n rounds reach every link.
  for (size_t round = 0; round < n; ++round)
    for (size_t j = 1; j <= n; ++j) {
      if (!visible[j] || !m_uWndInfo[j].Glue) continue;
      for (size_t k = 1; k <= n; ++k)
        if (k != j && visible[k] && !m_uWndInfo[k].Glue && m_uWndInfo[k].hWndParent == m_uWndInfo[j].hWndParent)
          m_uWndInfo[k].Glue = Touching(m_rcWnd[j], m_rcWnd[k]);
    }
}

bool TMagnetic::SubClassProc(TQD_WindowId lng_hWnd, uint32_t uMsg, TQD_MagneticMessage& Msg, bool& bHandled) {
  bHandled = false;
  if (!FInstance) return false;
  Msg.Msg = uMsg;
  FInstance->Message(lng_hWnd, Msg, bHandled);
  return true;
}

void TMagnetic::Message(TQD_WindowId H, TQD_MagneticMessage& Msg, bool& bHandled) {
  bHandled = false;
  switch (Msg.Msg) {
    case QD_WM_WINDOWPOSCHANGED:
      if (Msg.WindowPosFlags & (QD_SWP_SHOWWINDOW | QD_SWP_HIDEWINDOW)) CheckGlueing();
      return;
    case QD_WM_COMMAND:
    case QD_WM_EXITSIZEMOVE:
      CheckGlueing();
      return;
    case QD_WM_SYSCOMMAND: {
      // The low four bits are the system's own (a restore by double click
      // on the caption comes as SC_RESTORE + 2).
      const uintptr_t command = Msg.WParam & 0xFFF0;
      if (command == QD_SC_MINIMIZE || command == QD_SC_RESTORE) CheckGlueing();
      return;
    }
    default:
      break;
  }
  // Moves and resizes of windows we do not know go their own way.
  const int h = IndexOf(H);
  if (!h) return;
  switch (Msg.Msg) {
    case QD_WM_ENTERSIZEMOVE:
      StartSizeMove(h);
      return;
    case QD_WM_SIZING:
      Sizing(h, Msg.WParam, Msg.Rect);
      break;
    case QD_WM_MOVING:
      Moving(h, Msg.Rect);
      break;
    default:
      return;
  }
  bHandled = true;
  Msg.Result = 1;
}

void TMagnetic::StartSizeMove(int AH) {
  const auto n = static_cast<size_t>(m_lWndCount);
  const TQD_Point cursor = FPort.CursorPos();
  for (size_t i = 1; i <= n; ++i) {
    const TQD_WindowId w = m_uWndInfo[i].h_wnd;
    m_rcWnd[i] = FPort.WindowRect(w);
    if (FPort.IsZoomed(w)) m_rcWnd[i] = FPort.WorkArea(m_rcWnd[i]);
    if (static_cast<int>(i) == AH) {
      m_ptAnchor = m_ptLast = cursor;
      m_ptOffset = {m_rcWnd[i].Left - cursor.X, m_rcWnd[i].Top - cursor.Y};
    }
  }
  m_rcWnd[0] = FPort.WorkArea(m_rcWnd[static_cast<size_t>(AH)]);
}

void TMagnetic::Sizing(int AH, uintptr_t AEdge, TRect& R) {
  const int S = FSnapWidth;
  const auto near = [S](int a, int b) { return std::abs(a - b) < S; };
  // The screen the window is on now, not where the resize began.
  m_rcWnd[0] = FPort.WorkArea(R);
  const TRect O = R;
  for (int i = 0; i <= m_lWndCount; ++i) {
    if (!Candidate(i, AH)) continue;
    const TRect& W = m_rcWnd[static_cast<size_t>(i)];
    // A dragged edge, where the drag began at AFrom, goes to either side of W.
    const auto snap = [&near](int AFrom, int ANear, int AFar, int& AEdge) {
      if (near(AFrom, ANear)) AEdge = ANear;
      if (near(AFrom, AFar)) AEdge = AFar;
    };
    if (R.Top < W.Bottom + S && W.Top - S < R.Bottom) {
      if (DragsLeft(AEdge)) snap(O.Left, W.Left, W.Right, R.Left);
      if (DragsRight(AEdge)) snap(O.Right, W.Left, W.Right, R.Right);
    }
    if (R.Left < W.Right + S && W.Left - S < R.Right) {
      if (DragsTop(AEdge)) snap(O.Top, W.Top, W.Bottom, R.Top);
      if (DragsBottom(AEdge)) snap(O.Bottom, W.Top, W.Bottom, R.Bottom);
    }
  }
}

void TMagnetic::SnapMove(const TRect& R, const TRect& W, int& dx, int& dy) const {
  const int S = FSnapWidth;
  const auto near = [S](int a, int b) { return std::abs(a - b) < S; };
  if (R.Top < W.Bottom + S && W.Top - S < R.Bottom) {
    if (near(R.Left, W.Left)) dx = W.Left - R.Left;
    if (near(R.Left, W.Right)) dx = W.Right - R.Left;
    if (near(R.Right, W.Left)) dx = W.Left - R.Right;
    if (near(R.Right, W.Right)) dx = W.Right - R.Right;
  }
  if (R.Left < W.Right + S && W.Left - S < R.Right) {
    if (near(R.Top, W.Top)) dy = W.Top - R.Top;
    if (near(R.Top, W.Bottom)) dy = W.Bottom - R.Top;
    if (near(R.Bottom, W.Top)) dy = W.Top - R.Bottom;
    if (near(R.Bottom, W.Bottom)) dy = W.Bottom - R.Bottom;
  }
}

void TMagnetic::Moving(int AH, TRect& R) {
  const auto n = static_cast<size_t>(m_lWndCount);
  const TQD_WindowId H = m_uWndInfo[static_cast<size_t>(AH)].h_wnd;
  const auto gluedToH = [&](size_t i) { return m_uWndInfo[i].Glue && m_uWndInfo[i].hWndParent == H; };

  // The cursor, not the proposed rectangle, places the window: the offset
  // taken at the start survives whatever the system rounded on the way.
  m_ptCurr = FPort.CursorPos();
  R = Shifted(R, m_ptCurr.X + m_ptOffset.X - R.Left, m_ptCurr.Y + m_ptOffset.Y - R.Top);
  m_rcWnd[0] = FPort.WorkArea(R);

  int dx = 0, dy = 0;
  for (size_t i = 0; i <= n; ++i)
    if (Candidate(static_cast<int>(i), AH) && !(i > 0 && gluedToH(i))) SnapMove(R, m_rcWnd[i], dx, dy);

  // What H carries snaps too, but only to windows that stay behind.
  std::vector<bool> visible(n + 1, false);
  for (size_t i = 1; i <= n; ++i) visible[i] = Visible(static_cast<int>(i));
  const int carriedX = m_ptCurr.X - m_ptAnchor.X, carriedY = m_ptCurr.Y - m_ptAnchor.Y;
  for (size_t g = 1; g <= n; ++g) {
    if (!visible[g] || !gluedToH(g)) continue;
    const TRect G = Shifted(m_rcWnd[g], carriedX, carriedY);
    for (size_t j = 1; j <= n; ++j)
      if (j != g && visible[j] && !m_uWndInfo[j].Glue && static_cast<int>(j) != AH) SnapMove(G, m_rcWnd[j], dx, dy);
  }

  R = Shifted(R, dx, dy);

  const TRect& start = m_rcWnd[static_cast<size_t>(AH)];
  FMoves.clear();
  for (size_t g = 1; g <= n; ++g)
    if (visible[g] && gluedToH(g))
      FMoves.push_back({m_uWndInfo[g].h_wnd, m_rcWnd[g].Left + R.Left - start.Left, m_rcWnd[g].Top + R.Top - start.Top});
  if (!FMoves.empty()) FPort.MoveWindows(FMoves);

  m_ptLast = m_ptCurr;
}
