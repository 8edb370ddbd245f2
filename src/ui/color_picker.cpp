// The colour pickers; see color_picker.h.
#include "ui/color_picker.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMargin = 4;
constexpr int kRingSegments = 180;

TFloatPoint Mix3(TFloatPoint A, TFloatPoint B, TFloatPoint C, double a, double b, double c) {
  return {static_cast<float>(A.X * a + B.X * b + C.X * c), static_cast<float>(A.Y * a + B.Y * b + C.Y * c)};
}

// A small anti-aliased circle outline.
void Circle(TBitmap32& ABitmap, TFloatPoint AAt, float ARadius, TColor32 AColor) {
  constexpr int n = 24;
  for (int i = 0; i < n; ++i) {
    const double a0 = 2 * kPi * i / n, a1 = 2 * kPi * (i + 1) / n;
    ABitmap.LineFS(AAt.X + ARadius * static_cast<float>(std::cos(a0)), AAt.Y + ARadius * static_cast<float>(std::sin(a0)),
                   AAt.X + ARadius * static_cast<float>(std::cos(a1)), AAt.Y + ARadius * static_cast<float>(std::sin(a1)),
                   AColor, true);
  }
}

// Each covered pixel gets the colour AColorAt gives for its centre.
template <class F>
void FillCovered(TBitmap32& ABitmap, const std::vector<TFloatPoint>& APolygon, F AColorAt) {
  std::vector<uint8_t> coverage;
  ABitmap.PolygonCoverage(APolygon, coverage);
  for (int y = 0; y < ABitmap.Height(); ++y) {
    TColor32* row = ABitmap.ScanLine(y);
    const uint8_t* cov = coverage.data() + static_cast<size_t>(y) * ABitmap.Width();
    for (int x = 0; x < ABitmap.Width(); ++x)
      if (cov[x]) row[x] = BlendPixelCoverage(AColorAt(x + 0.5f, y + 0.5f), row[x], cov[x]);
  }
}

}  // namespace

bool TQD_ColorPicker::Changed(TColor32 AOld) {
  if (FColor == AOld) return false;
  if (OnChanged) OnChanged();
  return true;
}

void TQD_ColorPicker::DrawFocus(TBitmap32& ABitmap, const TRect& ARect) {
  // Every other pixel, as the system draws a focus rectangle.
  for (int x = ARect.Left; x < ARect.Right; x += 2) {
    ABitmap.SetPixel(x, ARect.Top, 0xFF000000);
    ABitmap.SetPixel(x, ARect.Bottom - 1, 0xFF000000);
  }
  for (int y = ARect.Top; y < ARect.Bottom; y += 2) {
    ABitmap.SetPixel(ARect.Left, y, 0xFF000000);
    ABitmap.SetPixel(ARect.Right - 1, y, 0xFF000000);
  }
}

// --- HSV ---------------------------------------------------------------------------

void TQD_HSVColorPicker::SetSelectedColor(TColor32 AColor) {
  const TColor32 rgb = AColor & 0x00FFFFFFu;
  FColor = AColor;
  if ((HSVToColor(FHSV) & 0x00FFFFFFu) == rgb) return;
  const TQD_HSV hsv = ColorToHSV(AColor);
  // Grey has no hue and black no saturation: keep the ones the user had.
  if (hsv.S > 0) FHSV.H = hsv.H;
  if (hsv.V > 0) FHSV.S = hsv.S;
  FHSV.V = hsv.V;
}

bool TQD_HSVColorPicker::SetHSV(const TQD_HSV& AHSV) {
  const TColor32 old = FColor;
  const bool moved = AHSV.H != FHSV.H || AHSV.S != FHSV.S || AHSV.V != FHSV.V;
  FHSV = AHSV;
  FColor = HSVToColor(FHSV, AlphaComponent(FColor));
  // A move that rounds to the same bytes still moves the marker.
  if (!Changed(old) && moved && OnChanged) OnChanged();
  return moved;
}

void TQD_HSVColorPicker::SetHue(double AValue) {
  TQD_HSV hsv = FHSV;
  hsv.H = std::clamp(AValue, 0.0, 1.0);
  SetHSV(hsv);
}
void TQD_HSVColorPicker::SetSaturation(double AValue) {
  TQD_HSV hsv = FHSV;
  hsv.S = std::clamp(AValue, 0.0, 1.0);
  SetHSV(hsv);
}
void TQD_HSVColorPicker::SetValue(double AValue) {
  TQD_HSV hsv = FHSV;
  hsv.V = std::clamp(AValue, 0.0, 1.0);
  SetHSV(hsv);
}

TFloatPoint TQD_HSVColorPicker::Centre() const { return {FWidth / 2.0f, FHeight / 2.0f}; }
float TQD_HSVColorPicker::OuterRadius() const { return std::max(0.0f, std::min(FWidth, FHeight) / 2.0f - kMargin); }
float TQD_HSVColorPicker::InnerRadius() const { return OuterRadius() * 0.8f; }

std::vector<TFloatPoint> TQD_HSVColorPicker::Triangle() const {
  const TFloatPoint c = Centre();
  const double r = InnerRadius() - 2;
  std::vector<TFloatPoint> t;
  for (int i = 0; i < 3; ++i) {
    // Screen y grows downwards; the wheel turns counter-clockwise.
    const double a = 2 * kPi * FHSV.H + i * 2 * kPi / 3;
    t.push_back({c.X + static_cast<float>(r * std::cos(a)), c.Y - static_cast<float>(r * std::sin(a))});
  }
  return t;
}

TFloatPoint TQD_HSVColorPicker::HuePoint() const {
  const TFloatPoint c = Centre();
  const double r = (OuterRadius() + InnerRadius()) / 2, a = 2 * kPi * FHSV.H;
  return {c.X + static_cast<float>(r * std::cos(a)), c.Y - static_cast<float>(r * std::sin(a))};
}

TFloatPoint TQD_HSVColorPicker::SVPoint() const {
  const std::vector<TFloatPoint> t = Triangle();
  // Weights of the pure hue, white and black corners.
  return Mix3(t[0], t[1], t[2], FHSV.S * FHSV.V, (1 - FHSV.S) * FHSV.V, 1 - FHSV.V);
}

TQD_HSVPart TQD_HSVColorPicker::HitTest(float X, float Y) const {
  const TFloatPoint c = Centre();
  const float d = std::hypot(X - c.X, Y - c.Y);
  if (d >= InnerRadius() && d <= OuterRadius()) return TQD_HSVPart::Ring;
  const std::vector<TFloatPoint> t = Triangle();
  auto side = [&](TFloatPoint A, TFloatPoint B) { return (B.X - A.X) * (Y - A.Y) - (B.Y - A.Y) * (X - A.X); };
  const float s0 = side(t[0], t[1]), s1 = side(t[1], t[2]), s2 = side(t[2], t[0]);
  if ((s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0)) return TQD_HSVPart::Triangle;
  return TQD_HSVPart::None;
}

void TQD_HSVColorPicker::HueFromPoint(float X, float Y, TQD_HSV& AHSV) const {
  const TFloatPoint c = Centre();
  double a = std::atan2(-(Y - c.Y), X - c.X) / (2 * kPi);
  AHSV.H = a < 0 ? a + 1 : a;
}

void TQD_HSVColorPicker::SVFromPoint(float X, float Y, TQD_HSV& AHSV) const {
  const std::vector<TFloatPoint> t = Triangle();
  // Barycentric weights of the point; outside the triangle they are clipped
  // to it, so a drag past an edge slides along the edge.
  const double d = (t[1].Y - t[2].Y) * (t[0].X - t[2].X) + (t[2].X - t[1].X) * (t[0].Y - t[2].Y);
  if (d == 0) return;
  double a = ((t[1].Y - t[2].Y) * (X - t[2].X) + (t[2].X - t[1].X) * (Y - t[2].Y)) / d;
  double b = ((t[2].Y - t[0].Y) * (X - t[2].X) + (t[0].X - t[2].X) * (Y - t[2].Y)) / d;
  double k = 1 - a - b;
  a = std::max(0.0, a), b = std::max(0.0, b), k = std::max(0.0, k);
  const double sum = a + b + k;
  a /= sum, b /= sum;
  AHSV.V = std::clamp(a + b, 0.0, 1.0);
  AHSV.S = a + b > 0 ? std::clamp(a / (a + b), 0.0, 1.0) : 0.0;
}

bool TQD_HSVColorPicker::MouseDown(int X, int Y) {
  const TQD_HSVPart part = HitTest(X + 0.5f, Y + 0.5f);
  FDragPart = static_cast<int>(part);
  if (part == TQD_HSVPart::None) return false;
  FActive = part;
  return MouseMove(X, Y);
}

bool TQD_HSVColorPicker::MouseMove(int X, int Y) {
  TQD_HSV hsv = FHSV;
  if (FDragPart == static_cast<int>(TQD_HSVPart::Ring))
    HueFromPoint(X + 0.5f, Y + 0.5f, hsv);
  else if (FDragPart == static_cast<int>(TQD_HSVPart::Triangle))
    SVFromPoint(X + 0.5f, Y + 0.5f, hsv);
  else
    return false;
  return SetHSV(hsv);
}

bool TQD_HSVColorPicker::KeyDown(TQD_PickerKey AKey, bool AShift) {
  if (AKey == TQD_PickerKey::Space) {
    FActive = FActive == TQD_HSVPart::Triangle ? TQD_HSVPart::Ring : TQD_HSVPart::Triangle;
    if (OnChanged) OnChanged();  // the focus mark moves
    return false;
  }
  const double step = (AShift ? 10 : 1) / 100.0;
  TQD_HSV hsv = FHSV;
  const bool up = AKey == TQD_PickerKey::Right || AKey == TQD_PickerKey::Up || AKey == TQD_PickerKey::End;
  if (FActive != TQD_HSVPart::Triangle) {
    const double hueStep = (AShift ? 10 : 1) / 360.0;
    if (AKey == TQD_PickerKey::Home || AKey == TQD_PickerKey::End)
      hsv.H = AKey == TQD_PickerKey::Home ? 0 : 1 - 1 / 360.0;
    else
      hsv.H = std::fmod(hsv.H + (up ? hueStep : 1 - hueStep), 1.0);
  } else if (AKey == TQD_PickerKey::Left || AKey == TQD_PickerKey::Right) {
    hsv.S = std::clamp(hsv.S + (up ? step : -step), 0.0, 1.0);
  } else {
    hsv.V = std::clamp(hsv.V + (up ? step : -step), 0.0, 1.0);
  }
  return SetHSV(hsv);
}

void TQD_HSVColorPicker::Render(TBitmap32& ABitmap, bool AFocused) const {
  ABitmap.SetSize(FWidth, FHeight);
  ABitmap.Clear(Background);
  if (FWidth <= 2 * kMargin || FHeight <= 2 * kMargin) return;
  const TFloatPoint c = Centre();
  const float ro = OuterRadius(), ri = InnerRadius();

  // The ring as one contour: the outer circle one way, the inner the other,
  // joined by a seam that cancels out under the non-zero rule.
  std::vector<TFloatPoint> ring;
  for (int i = 0; i <= kRingSegments; ++i) {
    const double a = 2 * kPi * i / kRingSegments;
    ring.push_back({c.X + ro * static_cast<float>(std::cos(a)), c.Y - ro * static_cast<float>(std::sin(a))});
  }
  for (int i = kRingSegments; i >= 0; --i) {
    const double a = 2 * kPi * i / kRingSegments;
    ring.push_back({c.X + ri * static_cast<float>(std::cos(a)), c.Y - ri * static_cast<float>(std::sin(a))});
  }
  FillCovered(ABitmap, ring, [&](float X, float Y) {
    TQD_HSV hsv{0, 1, 1};
    HueFromPoint(X, Y, hsv);
    return HSVToColor(hsv);
  });

  FillCovered(ABitmap, Triangle(), [&](float X, float Y) {
    TQD_HSV hsv = FHSV;
    SVFromPoint(X, Y, hsv);
    return HSVToColor(hsv);
  });

  // Markers: a bar across the ring, a circle in the triangle, in black or
  // white, whichever stands out; the part the keys move is drawn bolder.
  const bool ringActive = AFocused && FActive == TQD_HSVPart::Ring;
  const bool triangleActive = AFocused && FActive == TQD_HSVPart::Triangle;
  const double a = 2 * kPi * FHSV.H;
  const float dx = static_cast<float>(std::cos(a)), dy = -static_cast<float>(std::sin(a));
  for (float w : ringActive ? std::vector<float>{-1.0f, 0.0f, 1.0f} : std::vector<float>{0.0f})
    ABitmap.LineFS(c.X + (ri - 1) * dx - w * dy, c.Y + (ri - 1) * dy + w * dx, c.X + (ro + 1) * dx - w * dy,
                   c.Y + (ro + 1) * dy + w * dx, 0xFF000000);
  const TFloatPoint sv = SVPoint();
  const TColor32 mark = FHSV.V > 0.6 && FHSV.S < 0.6 ? 0xFF000000 : 0xFFFFFFFF;
  Circle(ABitmap, sv, 4, mark);
  if (triangleActive) Circle(ABitmap, sv, 6, mark);
  if (AFocused) DrawFocus(ABitmap, {0, 0, FWidth, FHeight});
}

// --- RGBA --------------------------------------------------------------------------

namespace {
constexpr int kBarGap = 8;
constexpr int kBarInset = 8;  // room for the marker at both ends
constexpr int kChecker = 6;
}  // namespace

TRect TQD_RGBAColorPicker::BarRect(int AChannel) const {
  const int h = std::max(1, (FHeight - 2 * kMargin - 3 * kBarGap) / 4);
  const int top = kMargin + AChannel * (h + kBarGap);
  return {kMargin + kBarInset, top, std::max(kMargin + kBarInset + 1, FWidth - kMargin - kBarInset), top + h};
}

int TQD_RGBAColorPicker::ValueAt(int X) const {
  const TRect r = BarRect(0);
  if (r.Width() <= 1) return 0;
  return std::clamp(static_cast<int>(std::lround((X - r.Left) * 255.0 / (r.Width() - 1))), 0, 255);
}

int TQD_RGBAColorPicker::XOf(int AValue) const {
  const TRect r = BarRect(0);
  return r.Left + static_cast<int>(std::lround(AValue * (r.Width() - 1) / 255.0));
}

int TQD_RGBAColorPicker::HitTest(int X, int Y) const {
  for (int c = 0; c < 4; ++c) {
    const TRect r = BarRect(c);
    // The marker's ends count as the bar.
    if (Y >= r.Top && Y < r.Bottom && X >= r.Left - kBarInset && X < r.Right + kBarInset) return c;
  }
  return -1;
}

int TQD_RGBAColorPicker::ChannelValue(int AChannel) const {
  static constexpr int kShift[4] = {16, 8, 0, 24};
  return static_cast<int>((FColor >> kShift[AChannel & 3]) & 0xFF);
}

bool TQD_RGBAColorPicker::SetChannel(int AChannel, int AValue) {
  static constexpr int kShift[4] = {16, 8, 0, 24};
  const TColor32 old = FColor;
  const int shift = kShift[AChannel & 3];
  FColor = (FColor & ~(TColor32{0xFF} << shift)) | (static_cast<TColor32>(std::clamp(AValue, 0, 255)) << shift);
  return Changed(old);
}

bool TQD_RGBAColorPicker::MouseDown(int X, int Y) {
  const int c = HitTest(X, Y);
  FDragPart = c + 1;
  if (c < 0) return false;
  FActive = c;
  return MouseMove(X, Y);
}

bool TQD_RGBAColorPicker::MouseMove(int X, int Y) {
  (void)Y;
  if (FDragPart <= 0) return false;
  return SetChannel(FDragPart - 1, ValueAt(X));
}

bool TQD_RGBAColorPicker::KeyDown(TQD_PickerKey AKey, bool AShift) {
  const int step = AShift ? 16 : 1, v = ChannelValue(FActive);
  switch (AKey) {
    case TQD_PickerKey::Up:
    case TQD_PickerKey::Down:
      FActive = (FActive + (AKey == TQD_PickerKey::Down ? 1 : 3)) % 4;
      if (OnChanged) OnChanged();  // the focus mark moves
      return false;
    case TQD_PickerKey::Left: return SetChannel(FActive, v - step);
    case TQD_PickerKey::Right: return SetChannel(FActive, v + step);
    case TQD_PickerKey::Home: return SetChannel(FActive, 0);
    case TQD_PickerKey::End: return SetChannel(FActive, 255);
    case TQD_PickerKey::Space: break;
  }
  return false;
}

void TQD_RGBAColorPicker::Render(TBitmap32& ABitmap, bool AFocused) const {
  static constexpr int kShift[4] = {16, 8, 0, 24};
  ABitmap.SetSize(FWidth, FHeight);
  ABitmap.Clear(Background);
  for (int c = 0; c < 4; ++c) {
    const TRect r = BarRect(c);
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        const bool light = (((x - r.Left) / kChecker) + ((y - r.Top) / kChecker)) % 2 == 0;
        const TColor32 checker = light ? 0xFFFFFFFF : 0xFFBFBFBF;
        const TColor32 v = static_cast<TColor32>(ValueAt(x));
        const TColor32 color = (FColor & ~(TColor32{0xFF} << kShift[c])) | (v << kShift[c]);
        ABitmap.SetPixel(x, y, BlendPixel(color, checker));
      }
    ABitmap.FrameRectTS({r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1},
                        AFocused && c == FActive ? 0xFF000000 : 0xFF808080);
    // The marker: a white bar in a black frame at the channel's value.
    const int x = XOf(ChannelValue(c));
    ABitmap.FillRectS({x - 2, r.Top - 3, x + 3, r.Bottom + 3}, 0xFF000000);
    ABitmap.FillRectS({x - 1, r.Top - 2, x + 2, r.Bottom + 2}, 0xFFFFFFFF);
  }
  if (AFocused) DrawFocus(ABitmap, {0, 0, FWidth, FHeight});
}
