// The action images and the application icon; see action_images.h.
#include "app/action_images.h"

#include <cmath>
#include <vector>

#include "base/dpi.h"

namespace {

constexpr float kPi = 3.14159265f;

constexpr TColor32 kBlue = 0xFF2F6FC0;
constexpr TColor32 kGreen = 0xFF2E9E48;
constexpr TColor32 kRed = 0xFFD03A30;
constexpr TColor32 kGrey = 0xFF4A5560;
constexpr TColor32 kAmber = 0xFFE8A020;
constexpr TColor32 kWhite = 0xFFFFFFFF;

using TPoints = std::vector<TFloatPoint>;

// Draws on the 16-unit design grid, scaled to the bitmap's size.
class TPainter {
 public:
  explicit TPainter(TBitmap32& ABitmap) : FBitmap(ABitmap), FScale(ABitmap.Width() / 16.0f) {}

  void Fill(const TPoints& APoints, TColor32 AColor) { Gradient(APoints, AColor, AColor, 0, 16); }
  // Vertical gradient from ATop (at design y AFrom) to ABottom (at ATo).
  void Gradient(const TPoints& APoints, TColor32 ATop, TColor32 ABottom, float AFrom, float ATo) {
    TPoints scaled;
    scaled.reserve(APoints.size());
    for (const TFloatPoint& p : APoints) scaled.push_back({p.X * FScale, p.Y * FScale});
    FBitmap.FillPolygonGradient(scaled, {0, AFrom * FScale}, {0, ATo * FScale}, {{0, ATop}, {1, ABottom}});
  }

  static TPoints Circle(float X, float Y, float R) { return Arc(X, Y, R, 0, 2 * kPi); }
  // Points along an arc, angles in radians clockwise from 3 o'clock (y down).
  static TPoints Arc(float X, float Y, float R, float AFrom, float ATo) {
    const int n = std::max(8, static_cast<int>(std::fabs(ATo - AFrom) * 8));
    TPoints p;
    for (int i = 0; i <= n; ++i) {
      const float a = AFrom + (ATo - AFrom) * i / n;
      p.push_back({X + R * std::cos(a), Y + R * std::sin(a)});
    }
    return p;
  }
  // A band along an arc: the outer edge out, the inner edge back, so the
  // non-zero rule fills only the band.
  static TPoints ArcBand(float X, float Y, float R, float AWidth, float AFrom, float ATo) {
    TPoints p = Arc(X, Y, R + AWidth / 2, AFrom, ATo);
    TPoints inner = Arc(X, Y, R - AWidth / 2, AFrom, ATo);
    p.insert(p.end(), inner.rbegin(), inner.rend());
    return p;
  }
  static TPoints Ring(float X, float Y, float R, float AWidth) { return ArcBand(X, Y, R, AWidth, 0, 2 * kPi); }
  // A stroke of width AWidth from (X1, Y1) to (X2, Y2), square ends.
  static TPoints Line(float X1, float Y1, float X2, float Y2, float AWidth) {
    const float dx = X2 - X1, dy = Y2 - Y1, len = std::sqrt(dx * dx + dy * dy);
    const float nx = -dy / len * AWidth / 2, ny = dx / len * AWidth / 2;
    return {{X1 + nx, Y1 + ny}, {X2 + nx, Y2 + ny}, {X2 - nx, Y2 - ny}, {X1 - nx, Y1 - ny}};
  }
  static TPoints Rect(float L, float T, float R, float B) { return {{L, T}, {R, T}, {R, B}, {L, B}}; }
  static TPoints RoundRect(float L, float T, float R, float B, float ARadius) {
    TPoints p;
    const auto corner = [&](float X, float Y, float AFrom) {
      TPoints a = Arc(X, Y, ARadius, AFrom, AFrom + kPi / 2);
      p.insert(p.end(), a.begin(), a.end());
    };
    corner(R - ARadius, T + ARadius, -kPi / 2);
    corner(R - ARadius, B - ARadius, 0);
    corner(L + ARadius, B - ARadius, kPi / 2);
    corner(L + ARadius, T + ARadius, kPi);
    return p;
  }
  // A frame of width AWidth inside the rectangle.
  static TPoints Frame(float L, float T, float R, float B, float AWidth) {
    TPoints p = Rect(L, T, R, B);
    p.push_back({L, T});
    const float w = AWidth;
    TPoints inner{{L + w, T + w}, {L + w, B - w}, {R - w, B - w}, {R - w, T + w}, {L + w, T + w}};
    p.insert(p.end(), inner.begin(), inner.end());
    return p;
  }

 private:
  TBitmap32& FBitmap;
  float FScale;
};

void DrawPower(TPainter& P, TColor32 AColor) {
  // The ring opens at the top where the bar stands.
  P.Fill(TPainter::ArcBand(8, 8.5f, 5.5f, 2, -kPi / 2 + 0.75f, 3 * kPi / 2 - 0.75f), AColor);
  P.Fill(TPainter::Line(8, 1.5f, 8, 8, 2), AColor);
}

void DrawWindow(TPainter& P, TColor32 ATitle) {
  P.Fill(TPainter::Rect(1.5f, 2.5f, 14.5f, 13.5f), 0xFFF4F6F8);
  P.Fill(TPainter::Frame(1, 2, 15, 14, 1), kGrey);
  P.Fill(TPainter::Rect(2, 3, 14, 5.5f), ATitle);
}

void DrawArrowHead(TPainter& P, float X, float Y, float ADX, float ADY, float ASize, TColor32 AColor) {
  // Tip at (X, Y), pointing along (ADX, ADY) (unit length).
  const float bx = X - ADX * ASize, by = Y - ADY * ASize;
  P.Fill({{X, Y}, {bx - ADY * ASize * 0.8f, by + ADX * ASize * 0.8f}, {bx + ADY * ASize * 0.8f, by - ADX * ASize * 0.8f}},
         AColor);
}

// A tick on the 16-unit grid, or shrunk by AScale and moved by (ADX, ADY).
void DrawCheck(TPainter& P, TColor32 AColor, float AScale = 1, float ADX = 0, float ADY = 0) {
  TPoints tick{{1.2f, 8.6f}, {3.3f, 6.5f}, {6.2f, 9.4f}, {12.7f, 2.9f}, {14.8f, 5}, {6.2f, 13.6f}};
  for (TFloatPoint& q : tick) q = {ADX + q.X * AScale, ADY + q.Y * AScale};
  P.Fill(tick, AColor);
}

void DrawGear(TPainter& P, TColor32 AColor) {
  TPoints gear;
  constexpr int kTeeth = 8;
  for (int i = 0; i < kTeeth * 4; ++i) {
    const float a = 2 * kPi * i / (kTeeth * 4) - kPi / 2;
    const float r = (i % 4 == 1 || i % 4 == 2) ? 7.3f : 5.4f;
    gear.push_back({8 + r * std::cos(a), 8 + r * std::sin(a)});
  }
  gear.push_back(gear.front());
  TPoints hole = TPainter::Circle(8, 8, 2.3f);
  gear.insert(gear.end(), hole.rbegin(), hole.rend());
  P.Fill(gear, AColor);
}

}  // namespace

const char* ActionImageName(TQD_ActionImage AImage) {
  static const char* const names[QD_ActionImageCount] = {
      "enable",        "disable",          "rebuild",          "reset-size",          "reset-position", "monitor-settings",
      "ok",            "apply",            "cancel",           "general-settings",    "color-configuration",
      "about",         "show-control-panel", "hide-control-panel", "reset-collector", "exit"};
  return names[AImage];
}

int ButtonGlyphSize(int ADPI) { return ScaleToDPI(16, ADPI); }

TBitmap32 RenderActionImage(TQD_ActionImage AImage, int ASize) {
  TBitmap32 b(ASize, ASize);
  b.Clear(0x00000000);
  TPainter p(b);
  switch (AImage) {
    case aiEnable: DrawPower(p, kGreen); break;
    case aiDisable: DrawPower(p, kRed); break;
    case aiRebuild:
      // Two arrows chasing each other round a circle.
      p.Fill(TPainter::ArcBand(8, 8, 5, 2, -kPi * 0.95f, -kPi * 0.15f), kBlue);
      DrawArrowHead(p, 13.8f, 8.2f, 0.2f, 0.98f, 3, kBlue);
      p.Fill(TPainter::ArcBand(8, 8, 5, 2, kPi * 0.05f, kPi * 0.85f), kBlue);
      DrawArrowHead(p, 2.2f, 7.8f, -0.2f, -0.98f, 3, kBlue);
      break;
    case aiResetSize:
      p.Fill(TPainter::Frame(1, 1, 15, 15, 1), kGrey);
      p.Fill(TPainter::Line(5, 11, 11, 5, 1.6f), kBlue);
      DrawArrowHead(p, 12.5f, 3.5f, 0.707f, -0.707f, 3.5f, kBlue);
      DrawArrowHead(p, 3.5f, 12.5f, -0.707f, 0.707f, 3.5f, kBlue);
      break;
    case aiResetPosition:
      p.Fill(TPainter::Ring(8, 8, 4.5f, 1.5f), kBlue);
      p.Fill(TPainter::Line(8, 0.5f, 8, 4.5f, 1.5f), kGrey);
      p.Fill(TPainter::Line(8, 11.5f, 8, 15.5f, 1.5f), kGrey);
      p.Fill(TPainter::Line(0.5f, 8, 4.5f, 8, 1.5f), kGrey);
      p.Fill(TPainter::Line(11.5f, 8, 15.5f, 8, 1.5f), kGrey);
      p.Fill(TPainter::Circle(8, 8, 1.6f), kRed);
      break;
    case aiMonitorSettings: DrawGear(p, kGrey); break;
    case aiOK: DrawCheck(p, kGreen); break;
    case aiApply:
      // The check of "OK" on a sheet: applied, the sheet stays open.
      p.Fill(TPainter::RoundRect(1, 1, 15, 15, 2.5f), kBlue);
      DrawCheck(p, kWhite, 0.7f, 2.4f, 2.6f);
      break;
    case aiCancel:
      p.Fill(TPainter::Line(3, 3, 13, 13, 2.6f), kRed);
      p.Fill(TPainter::Line(13, 3, 3, 13, 2.6f), kRed);
      break;
    case aiGeneralSettings:
      for (int i = 0; i < 3; ++i) {
        const float y = 3.5f + i * 4.5f, knob = i == 1 ? 10.5f : (i == 0 ? 5 : 8);
        p.Fill(TPainter::Line(1.5f, y, 14.5f, y, 1.4f), kGrey);
        p.Fill(TPainter::RoundRect(knob - 1.8f, y - 2.2f, knob + 1.8f, y + 2.2f, 0.8f), kBlue);
      }
      break;
    case aiColorConfiguration:
      p.Fill(TPainter::Circle(8, 8, 7.3f), 0xFFE9E2D0);
      p.Fill(TPainter::Circle(5, 5.3f, 2), kRed);
      p.Fill(TPainter::Circle(10.8f, 5, 2), kGreen);
      p.Fill(TPainter::Circle(11.3f, 10.6f, 2), kBlue);
      p.Fill(TPainter::Circle(5.5f, 11, 2), kAmber);
      break;
    case aiAbout:
      p.Fill(TPainter::Circle(8, 8, 7.3f), kBlue);
      p.Fill(TPainter::Circle(8, 4.6f, 1.3f), kWhite);
      p.Fill(TPainter::Rect(6.9f, 6.8f, 9.1f, 12.6f), kWhite);
      break;
    case aiShowControlPanel:
      DrawWindow(p, kBlue);
      p.Fill(TPainter::Line(8, 12.5f, 8, 8.5f, 1.6f), kGreen);
      DrawArrowHead(p, 8, 6.5f, 0, -1, 3, kGreen);
      break;
    case aiHideControlPanel:
      DrawWindow(p, kBlue);
      p.Fill(TPainter::Rect(4.5f, 10.5f, 11.5f, 12.2f), kGrey);
      break;
    case aiResetCollector:
      p.Fill({{9.5f, 0.5f}, {3, 9}, {7.5f, 9}, {6, 15.5f}, {13, 6.5f}, {8.5f, 6.5f}}, kAmber);
      break;
    case aiExit:
      p.Fill(TPainter::Frame(1.5f, 1.5f, 10, 14.5f, 1.4f), kGrey);
      p.Fill(TPainter::Line(5, 8, 12, 8, 1.8f), kRed);
      DrawArrowHead(p, 15, 8, 1, 0, 3.5f, kRed);
      break;
  }
  return b;
}

TBitmap32 RenderApplicationIcon(int ASize) {
  TBitmap32 b(ASize, ASize);
  b.Clear(0x00000000);
  TPainter p(b);
  // A rounded tile with a gauge: the program at a glance, legible at 16 px.
  p.Gradient(TPainter::RoundRect(0.5f, 0.5f, 15.5f, 15.5f, 3), 0xFF2A6CC4, 0xFF123A78, 0.5f, 15.5f);
  p.Fill(TPainter::ArcBand(8, 9.5f, 5, 1.8f, kPi * 0.8f, kPi * 1.5f), 0xFF7FE08A);
  p.Fill(TPainter::ArcBand(8, 9.5f, 5, 1.8f, kPi * 1.5f, kPi * 1.9f), kAmber);
  p.Fill(TPainter::ArcBand(8, 9.5f, 5, 1.8f, kPi * 1.9f, kPi * 2.2f), 0xFFFF5A4A);
  p.Fill(TPainter::Line(8, 9.5f, 11.2f, 5.6f, 1.4f), kWhite);
  p.Fill(TPainter::Circle(8, 9.5f, 1.5f), kWhite);
  return b;
}
