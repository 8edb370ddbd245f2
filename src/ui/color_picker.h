// The two colour pickers of the colour dialog as portable objects: each owns
// its selected colour, lays itself out in a given size, draws itself into a
// Bitmap32 with the rasteriser, and turns mouse presses, drags and keys into
// a new colour. TQD_ColorPickerWin32 hosts either one as a focusable child
// window; tests drive them directly.
//
// TQD_HSVColorPicker: a hue ring around a triangle whose corners are the pure
// hue, white and black; a point in the triangle is a saturation and value.
// Keys: Space switches between ring and triangle; in the ring the arrows turn
// the hue, in the triangle Left/Right change saturation and Up/Down value;
// Shift takes ten steps at once.
//
// TQD_RGBAColorPicker: four horizontal bars, red, green, blue and alpha, each
// a gradient of its channel from 0 to 255 with the others as they are, drawn
// over a checkerboard so alpha shows. Up/Down pick the bar, Left/Right move
// its channel (Shift: 16), Home/End go to 0 and 255.
#pragma once

#include <functional>
#include <vector>

#include "render/bitmap32.h"
#include "ui/color_hsv.h"

enum class TQD_PickerKey { Left, Right, Up, Down, Home, End, Space };

class TQD_ColorPicker {
 public:
  virtual ~TQD_ColorPicker() = default;

  void SetSize(int AWidth, int AHeight) {
    FWidth = AWidth;
    FHeight = AHeight;
  }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  TColor32 SelectedColor() const { return FColor; }
  // From the program: no OnChanged.
  virtual void SetSelectedColor(TColor32 AColor) { FColor = AColor; }

  // Into ABitmap (resized to the picker), with the focus mark when AFocused.
  virtual void Render(TBitmap32& ABitmap, bool AFocused) const = 0;
  // Each returns whether the colour changed (OnChanged has then run).
  virtual bool MouseDown(int X, int Y) = 0;
  virtual bool MouseMove(int X, int Y) = 0;
  void MouseUp() { FDragPart = 0; }
  virtual bool KeyDown(TQD_PickerKey AKey, bool AShift) = 0;

  // After every change by the user (mouse, keys) or by a setter that says so.
  std::function<void()> OnChanged;
  TColor32 Background = 0xFFF0F0F0;

 protected:
  bool Changed(TColor32 AOld);
  // The dotted rectangle of a focused control.
  static void DrawFocus(TBitmap32& ABitmap, const TRect& ARect);

  int FWidth = 0;
  int FHeight = 0;
  TColor32 FColor = 0xFF000000;
  int FDragPart = 0;  // what the press hit, followed by the drag; 0 = nothing
};

enum class TQD_HSVPart { None, Ring, Triangle };

class TQD_HSVColorPicker final : public TQD_ColorPicker {
 public:
  // Keeps hue, saturation and value when the colour is the one they already
  // give, so a value typed in stays exact and grey keeps its hue.
  void SetSelectedColor(TColor32 AColor) override;

  double Hue() const { return FHSV.H; }
  double Saturation() const { return FHSV.S; }
  double Value() const { return FHSV.V; }
  // From the dialog's fields: clamped to 0..1, then OnChanged.
  void SetHue(double AValue);
  void SetSaturation(double AValue);
  void SetValue(double AValue);

  // Geometry, in pixels of the picker.
  TFloatPoint Centre() const;
  float OuterRadius() const;
  float InnerRadius() const;
  // Corners: pure hue, white, black.
  std::vector<TFloatPoint> Triangle() const;
  TFloatPoint HuePoint() const;  // middle of the ring at the hue
  TFloatPoint SVPoint() const;   // the saturation and value in the triangle
  TQD_HSVPart HitTest(float X, float Y) const;
  TQD_HSVPart ActivePart() const { return FActive; }

  void Render(TBitmap32& ABitmap, bool AFocused) const override;
  bool MouseDown(int X, int Y) override;
  bool MouseMove(int X, int Y) override;
  bool KeyDown(TQD_PickerKey AKey, bool AShift) override;

 private:
  bool SetHSV(const TQD_HSV& AHSV);
  void HueFromPoint(float X, float Y, TQD_HSV& AHSV) const;
  void SVFromPoint(float X, float Y, TQD_HSV& AHSV) const;

  TQD_HSV FHSV;
  TQD_HSVPart FActive = TQD_HSVPart::Ring;
};

class TQD_RGBAColorPicker final : public TQD_ColorPicker {
 public:
  // Channel 0..3: red, green, blue, alpha.
  TRect BarRect(int AChannel) const;
  // The channel value of X on a bar.
  int ValueAt(int X) const;
  int XOf(int AValue) const;
  // The bar under the point, or -1.
  int HitTest(int X, int Y) const;
  int ActiveChannel() const { return FActive; }
  int ChannelValue(int AChannel) const;

  void Render(TBitmap32& ABitmap, bool AFocused) const override;
  bool MouseDown(int X, int Y) override;
  bool MouseMove(int X, int Y) override;
  bool KeyDown(TQD_PickerKey AKey, bool AShift) override;

 private:
  bool SetChannel(int AChannel, int AValue);
  int FActive = 0;
};
