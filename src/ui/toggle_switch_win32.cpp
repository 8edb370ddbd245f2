// TQD_ToggleSwitch; see toggle_switch_win32.h.
#include "ui/toggle_switch_win32.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/win32_handles_win32.h"
#include "ui/bitmap_blit_win32.h"

namespace {

constexpr TColor32 kOnTrack = 0xFF2F6FC0;
constexpr TColor32 kOffTrack = 0xFF9AA3AD;
constexpr TColor32 kDisabledTrack = 0xFFD0D4D8;
constexpr TColor32 kKnob = 0xFFFFFFFF;

TColor32 SystemColor(int AIndex) {
  const COLORREF c = GetSysColor(AIndex);
  return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

std::vector<TFloatPoint> Capsule(float L, float T, float R, float B) {
  // Two half circles joined: the track.
  const float r = (B - T) / 2, cy = T + r;
  std::vector<TFloatPoint> p;
  constexpr int kSteps = 16;
  for (int i = 0; i <= kSteps; ++i) {
    const float a = -1.5707963f + 3.1415926f * i / kSteps;
    p.push_back({R - r + r * std::cos(a), cy + r * std::sin(a)});
  }
  for (int i = 0; i <= kSteps; ++i) {
    const float a = 1.5707963f + 3.1415926f * i / kSteps;
    p.push_back({L + r + r * std::cos(a), cy + r * std::sin(a)});
  }
  return p;
}

void FillSolid(TBitmap32& ABitmap, const std::vector<TFloatPoint>& APolygon, TColor32 AColor) {
  ABitmap.FillPolygonGradient(APolygon, {0, 0}, {0, 1}, {{0, AColor}, {1, AColor}});
}

}  // namespace

TQD_ToggleSwitch::TQD_ToggleSwitch() : TQD_Window(L"QuendalToggleSwitch") {}

void TQD_ToggleSwitch::CreateChild(HWND AParent, int AID, const std::wstring& AName) {
  TQD_WindowCreateParams p;
  p.Caption = AName;
  p.Style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  p.Left = p.Top = 0;
  p.Width = p.Height = 1;
  p.Parent = AParent;
  Create(p);
  SetWindowLongPtrW(Handle(), GWLP_ID, AID);
}

void TQD_ToggleSwitch::SetChecked(bool AChecked) {
  if (FChecked == AChecked) return;
  FChecked = AChecked;
  InvalidateRect(Handle(), nullptr, FALSE);
  NotifyWinEvent(EVENT_OBJECT_STATECHANGE, Handle(), OBJID_CLIENT, CHILDID_SELF);
}

void TQD_ToggleSwitch::Click() {
  if (!IsWindowEnabled(Handle())) return;
  SetChecked(!FChecked);
  const HWND self = Handle();
  SendMessageW(GetParent(self), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), BN_CLICKED),
               reinterpret_cast<LPARAM>(self));
}

void TQD_ToggleSwitch::Paint() {
  TQD_PaintScope paint(Handle());
  if (!paint.DC()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  if (FBuffer.Width() != client.right || FBuffer.Height() != client.bottom) FBuffer.SetSize(client.right, client.bottom);
  FBuffer.Clear(SystemColor(COLOR_BTNFACE));
  // The track keeps a 2:1 shape inside whatever box the layout gives.
  const float h = std::min<float>(static_cast<float>(client.bottom) - 2, client.right / 2.0f - 1);
  const float top = (client.bottom - h) / 2, left = 1, right = left + 2 * h;
  const bool enabled = IsWindowEnabled(Handle());
  FillSolid(FBuffer, Capsule(left, top, right, top + h),
            !enabled ? kDisabledTrack : (FChecked ? kOnTrack : kOffTrack));
  const float r = h / 2 - std::max(2.0f, h / 8), cy = top + h / 2;
  const float cx = FChecked ? right - h / 2 : left + h / 2;
  std::vector<TFloatPoint> knob;
  for (int i = 0; i < 24; ++i)
    knob.push_back({cx + r * std::cos(i * 0.2617994f), cy + r * std::sin(i * 0.2617994f)});
  FillSolid(FBuffer, knob, kKnob);
  BlitBitmap32(paint.DC(), 0, 0, FBuffer);
  if (GetFocus() == Handle()) {
    RECT focus{0, 0, static_cast<LONG>(right + 1), client.bottom};
    DrawFocusRect(paint.DC(), &focus);
  }
}

bool TQD_ToggleSwitch::HandleMessage(UINT AMessage, WPARAM AWParam, LPARAM ALParam, LRESULT& AResult) {
  AResult = 0;
  switch (AMessage) {
    case WM_PAINT: Paint(); return true;
    case WM_ERASEBKGND: AResult = 1; return true;
    case WM_GETDLGCODE: AResult = DLGC_BUTTON; return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SIZE:
      InvalidateRect(Handle(), nullptr, FALSE);
      return false;
    case WM_LBUTTONDOWN:
      SetFocus(Handle());
      SetCapture(Handle());
      FPressed = true;
      return true;
    case WM_LBUTTONUP: {
      if (!FPressed) return true;
      FPressed = false;
      ReleaseCapture();
      RECT r{};
      GetClientRect(Handle(), &r);
      const POINT at{static_cast<short>(LOWORD(ALParam)), static_cast<short>(HIWORD(ALParam))};
      if (PtInRect(&r, at)) Click();
      return true;
    }
    case WM_CAPTURECHANGED: FPressed = false; return true;
    case WM_KEYDOWN:
      if (AWParam != VK_SPACE) return false;
      if (!(ALParam & 0x40000000)) Click();  // not on auto-repeat
      return true;
    case BM_CLICK: Click(); return true;
    case BM_GETCHECK: AResult = FChecked ? BST_CHECKED : BST_UNCHECKED; return true;
    case BM_SETCHECK: SetChecked(AWParam == BST_CHECKED); return true;
    default: return false;
  }
}
