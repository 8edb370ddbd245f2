// TQD_GridContainer: the one child of every monitor window. It owns the
// window's widgets and lays them out in ten equal columns and rows of two
// heights (standard, and divider rows 0.3 as high), proportional to the
// window's client size. Windows build their content only through it: add
// rows, then widgets into them left to right, then ask for the content size.
//
// It is portable: the Windows host gives it a client size and a DPI, asks it
// which widgets changed (Dirty) and where they are, and forwards mouse
// clicks through HitTest. Natively it draws into one bitmap for previews and
// golden tests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/dpi.h"
#include "render/bitmap32.h"
#include "widgets/divider.h"
#include "widgets/gauge.h"
#include "widgets/label.h"
#include "widgets/line_graph.h"
#include "widgets/net_graph.h"

class TQD_ColorTable;
class TQD_DataLogger;
class TQD_CustomReadingsList;
struct TQD_CustomReadingsListItem;
struct TQD_Settings;

enum TQD_RowType : uint8_t { rtStandard = 0, rtDivider = 1 };
using TQD_RowTypes = std::vector<TQD_RowType>;

enum class TQD_MouseButton : uint8_t { Left, Right, Middle };
// What a widget does on a button press (the windows drag on the left button).
using TQD_MouseDownHandler = std::function<void(TQD_MouseButton AButton, int X, int Y)>;

class TQD_GridContainer {
 public:
  static constexpr int kColumns = 10;
  static constexpr int kColumnWidth = 54;       // content size at 96 DPI
  static constexpr int kRowHeight = 22;
  static constexpr double kDividerRatio = 0.3;
  static constexpr int MinWidth = 120;
  static constexpr int MinHeight = 120;
  static constexpr int MinHeightClock = 66;
  static constexpr int kErrorTitleHeight = 22;  // absolute, at 96 DPI

  explicit TQD_GridContainer(const TQD_Settings* ASettings = nullptr);
  ~TQD_GridContainer();
  TQD_GridContainer(const TQD_GridContainer&) = delete;
  TQD_GridContainer& operator=(const TQD_GridContainer&) = delete;

  void SetColorTable(const TQD_ColorTable* ATable) { FColorTable = ATable; }
  const TQD_ColorTable* ColorTable() const { return FColorTable; }
  void SetDataLogger(const TQD_DataLogger* ALogger) { FDataLogger = ALogger; }
  const TQD_DataLogger* DataLogger() const { return FDataLogger; }
  const TQD_CustomReadingsList* CustomReadingsList() const { return FCustomReadingsList; }
  // The font every new widget starts with (the window's font), at 96 DPI:
  // widgets get it scaled to the grid's DPI, whichever of the two came first.
  TQD_Font Font;
  // The clock for labels in clock and date mode.
  TQD_Clock* Clock = nullptr;

  // Batching: layout is computed once, when the outermost batch ends.
  void StartUpdating() { ++FUpdating; }
  void StopUpdating();
  // Discards every widget and row; ten columns remain.
  void ResetGrid();

  void AddRow(TQD_RowType ARowType);
  void AddRows(TQD_RowType ARowType, int ANumRows);
  void AddDividerRow();
  void AddDividerRowAlt();

  TQD_Gauge& AddGauge(int AColumnSpan);
  TQD_Label& AddLabel(int AColumnSpan);
  TQD_LineGraph& AddLineGraph(int AColumnSpan, int ARowSpan);
  TQD_NetGraph& AddNetGraph(int AColumnSpan, int ARowSpan);
  TQD_Divider& AddDivider(int AColumnSpan);

  void AddCustomRows(const TQD_CustomReadingsList* AList);
  void AddCustomRow(const TQD_CustomReadingsListItem& AItem);
  void AddErrorRows(const std::string& ATitle, const std::string& AMessage);

  // Sizes the rows (dividers 0.3 of a standard row) and counts them.
  void UpdateGridDimensions();

  int NumGauges() const { return static_cast<int>(FGauges.size()); }
  int NumLabels() const { return static_cast<int>(FLabels.size()); }
  int NumLineGraphs() const { return static_cast<int>(FLineGraphs.size()); }
  int NumNetGraphs() const { return static_cast<int>(FNetGraphs.size()); }
  int NumDividers() const { return static_cast<int>(FDividers.size()); }
  const std::vector<TQD_Gauge*>& Gauges() const { return FGauges; }
  const std::vector<TQD_Label*>& Labels() const { return FLabels; }
  const std::vector<TQD_LineGraph*>& LineGraphs() const { return FLineGraphs; }
  const std::vector<TQD_NetGraph*>& NetGraphs() const { return FNetGraphs; }
  const std::vector<TQD_Divider*>& Dividers() const { return FDividers; }
  // Every widget, in creation order.
  const std::vector<std::unique_ptr<TQD_Widget>>& Widgets() const { return FWidgets; }
  bool GridEmpty() const;

  const TQD_RowTypes& RowTypes() const { return FRowTypeList; }
  int NumRows() const { return static_cast<int>(FRows.size()); }
  int NumStdRows() const { return FNumStdRows; }
  int NumDivRows() const { return FNumDivRows; }
  int ContentWidth() const { return kColumns * kColumnWidth; }
  int ContentHeight() const;
  int ScreenCenterLeft(int AScreenWidth) const { return AScreenWidth / 2 - FClientWidth / 2; }
  int ScreenCenterTop(int AScreenHeight) const { return AScreenHeight / 2 - FClientHeight / 2; }

  // The host's client size in pixels and its DPI; lays the widgets out.
  void SetClientSize(int AWidth, int AHeight);
  void SetDPI(int ADPI);
  int ClientWidth() const { return FClientWidth; }
  int ClientHeight() const { return FClientHeight; }
  // A widget's cells: column, row and spans (for tests and hit testing).
  struct TCell {
    int Column = -1, Row = -1, ColumnSpan = 1, RowSpan = 1;
  };
  TCell CellOf(const TQD_Widget& AWidget) const;

  // Mouse: handlers go to the widgets present now, not to later ones.
  void AddMouseControls(TQD_MouseDownHandler AOnMouseDown, void* APopupMenu);
  TQD_Widget* HitTest(int X, int Y) const;
  // Dispatches a button press to the widget under it; false when none takes it.
  bool MouseDown(TQD_MouseButton AButton, int X, int Y) const;
  // The context menu of the widget under the point (nullptr: none).
  void* PopupMenuAt(int X, int Y) const;

  // Widgets marked for drawing since the last call, cleared as returned.
  void TakeDirty(std::vector<TQD_Widget*>& ADirty);
  // Refreshes and marks every widget (a layout change, a first show).
  void RepaintAll();
  // Draws every widget into ATarget at its place.
  void RenderTo(TBitmap32& ATarget) const;

 private:
  struct TRowDef {
    bool Absolute = false;
    double Value = 50;  // percent, or pixels at 96 DPI when absolute
  };
  struct TPlacement {
    TQD_Widget* Widget = nullptr;
    TCell Cell;
    TQD_MouseDownHandler OnMouseDown;
    void* PopupMenu = nullptr;
  };

  template <typename W>
  W& AddWidget(std::vector<W*>& AList, int AColumnSpan, int ARowSpan);
  void Place(TPlacement& APlacement);
  void Layout();
  const TQD_Settings& Settings() const;

  const TQD_Settings* FSettings;
  const TQD_ColorTable* FColorTable = nullptr;
  TQD_RowTypes FRowTypeList;
  int FNumStdRows = 0;
  int FNumDivRows = 0;
  std::vector<std::unique_ptr<TQD_Widget>> FWidgets;
  std::vector<TPlacement> FPlacements;  // parallel to FWidgets
  std::vector<TQD_Gauge*> FGauges;
  std::vector<TQD_Label*> FLabels;
  std::vector<TQD_LineGraph*> FLineGraphs;
  std::vector<TQD_NetGraph*> FNetGraphs;
  std::vector<TQD_Divider*> FDividers;
  const TQD_DataLogger* FDataLogger = nullptr;
  const TQD_CustomReadingsList* FCustomReadingsList = nullptr;

  std::vector<TRowDef> FRows;
  int FUpdating = 0;
  bool FLayoutPending = false;
  int FClientWidth = 0;
  int FClientHeight = 0;
  int FDPI = QD_DefaultDPI;
  bool FRepaintPending = false;  // the next layout repaints every widget
};
