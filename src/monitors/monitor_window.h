// The monitor windows' shared behaviour: geometry kept at 96 DPI in the
// settings, population (or the error layout when the data is missing),
// rebuild, reset, refresh and render-time measurement. The five windows
// (clock, CPU, GPU, drives, network) derive from TQD_MonitorWindow and add
// their content; the control panel drives all five through this interface.
//
// The window itself lives behind TQD_MonitorHost: a Win32 window on
// Windows, a plain record in tests and natively rendered previews.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "monitors/grid_container.h"
#include "monitors/monitor_kind.h"

class TQD_ColorTable;
class TQD_CustomReadingsList;
class TQD_DataLogger;
class TQD_Clock;
class TQD_TimerFactory;
struct TQD_OptionInteger;
struct TQD_Settings;

// "Clock", "CPU Monitor", ...: the window caption and its error title.
inline const char* MonitorCaption(TQD_MonitorKind AKind) { return MonitorDescriptor(AKind).Caption; }

struct TQD_ScreenRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// What a monitor window needs of its platform window.
class TQD_MonitorHost {
 public:
  virtual ~TQD_MonitorHost() = default;
  virtual int DPI() const = 0;
  virtual void GetClientSize(int& AWidth, int& AHeight) const = 0;
  virtual void SetClientSize(int AWidth, int AHeight) = 0;
  virtual void SetMinClientSize(int AWidth, int AHeight) = 0;
  virtual void GetPosition(int& ALeft, int& ATop) const = 0;
  virtual void SetPosition(int ALeft, int ATop) = 0;
  // The primary screen's full size, and the work areas of all monitors.
  virtual void GetPrimaryScreenSize(int& AWidth, int& AHeight) const = 0;
  virtual std::vector<TQD_ScreenRect> MonitorWorkAreas() const = 0;
  // The window's outer size for a client size (frame added), to test visibility.
  virtual void WindowSizeForClient(int AClientWidth, int AClientHeight, int& AWidth, int& AHeight) const {
    AWidth = AClientWidth;
    AHeight = AClientHeight;
  }
  virtual void SetCornerPreference(int APreference) = 0;
  // Widgets were marked (Dirty): the screen must show them drawn anew. The
  // platform paints later, once for everything marked meanwhile; a hidden
  // window draws nothing.
  virtual void InvalidateWidgets() = 0;
};

// Whether a window at (ALeft, ATop) of the given size shows on at least one
// monitor: it must overlap a work area by some pixels in both directions.
bool WindowVisibleOnSomeMonitor(const std::vector<TQD_ScreenRect>& AWorkAreas, int ALeft, int ATop, int AWidth,
                                int AHeight);

class TQD_MonitorWindow {
 public:
  TQD_MonitorWindow(TQD_MonitorKind AKind, TQD_MonitorHost& AHost, TQD_Settings& ASettings, TQD_Clock& AClock);
  virtual ~TQD_MonitorWindow() = default;
  TQD_MonitorWindow(const TQD_MonitorWindow&) = delete;
  TQD_MonitorWindow& operator=(const TQD_MonitorWindow&) = delete;

  TQD_MonitorKind Kind() const { return FKind; }
  const char* Caption() const { return MonitorCaption(FKind); }

  // Properties the control panel assigns before showing the window.
  void SetColorTable(const TQD_ColorTable* ATable) { FGrid.SetColorTable(ATable); }
  const TQD_ColorTable* ColorTable() const { return FGrid.ColorTable(); }
  void SetDataLogger(TQD_DataLogger* ALogger);
  TQD_DataLogger* DataLogger() const { return FDataLogger; }
  void SetCustomReadingsList(const TQD_CustomReadingsList* AList) { FCustomReadingsList = AList; }
  const TQD_CustomReadingsList* CustomReadingsList() const { return FCustomReadingsList; }
  void SetFont(const TQD_Font& AFont) { FGrid.Font = AFont; }

  bool MonitorWindowPopulated() const { return FMonitorWindowPopulated; }
  bool ErrorWindowPopulated() const { return FErrorWindowPopulated; }
  // Milliseconds the last population or refresh that marked anything took,
  // with the paint that drew it; known once that paint is done.
  int32_t LastPaintDuration() const { return FLastPaintDuration; }
  TQD_GridContainer& Grid() { return FGrid; }

  // Lives as long as the host's paint: the first paint after a population or
  // refresh that marked widgets completes that one's LastPaintDuration.
  class TPaintTimer {
   public:
    explicit TPaintTimer(TQD_MonitorWindow* AWindow) : FWindow(AWindow), FStart(AWindow ? AWindow->Now() : 0) {}
    ~TPaintTimer() {
      if (FWindow) FWindow->Painted(FWindow->Now() - FStart);
    }
    TPaintTimer(const TPaintTimer&) = delete;
    TPaintTimer& operator=(const TPaintTimer&) = delete;

   private:
    TQD_MonitorWindow* FWindow;
    int64_t FStart;
  };

  // The window's life: shown (populates at once) and destroyed (stores its geometry).
  virtual void Show();
  virtual void Destroying();

  void PopulateMonitorWindow();
  void RebuildMonitorWindow();
  void ResetMonitorWindow(bool ASize, bool APos);
  // Marks the widgets whose values changed, for the next paint.
  virtual void RefreshMonitorWindow();
  void UpdateRoundedCorners();

  // The host's client area changed size or DPI. The host reports a new DPI
  // before the system applies the new window rectangle, so that the minimum
  // size the system enforces on it is already the new DPI's.
  void ClientResized(int AWidth, int AHeight);
  void DpiChanged(int ANewDPI);

  // Mouse on the content: the host gives the drag and menu actions.
  TQD_MouseDownHandler OnMouseDown;
  void* PopupMenu = nullptr;

 protected:
  // What the data logger must have found for this window; true when none.
  virtual bool SensorFound() const { return true; }
  // The error text while SensorFound is false.
  virtual std::string ErrorMessage() const;
  // Whether this window resets the collector and has an error layout.
  virtual bool UsesHWiNFO() const { return true; }
  // The window's own rows (everything before the custom rows).
  virtual void AddContentRows() = 0;
  virtual int DefaultHeight() const { return FGrid.ContentHeight(); }
  virtual int MinHeight() const { return TQD_GridContainer::MinHeight; }
  virtual bool HasCustomRows() const { return true; }

  // ManualRepaint on the widgets (net graphs first when asked, then gauges,
  // labels, line graphs, each in creation order, every one whatever the
  // others answer); when any changed, the host is told and the time taken
  // waits for the paint that draws them.
  void RepaintChangedWidgets(bool AIncludeNetGraphs);
  void SaveGeometry();
  void ApplyGeometry(bool ASize, bool APos);
  void ApplyMinClientSize();
  void ShowErrorLayout();
  // Stopwatch readings in microseconds: a refresh and its paint each take
  // well under a millisecond, and only their sum is shown, in whole ones.
  int64_t Now() const;

  TQD_MonitorKind FKind;
  TQD_MonitorHost& FHost;
  TQD_Settings& FSettings;
  TQD_Clock& FClock;
  TQD_GridContainer FGrid;
  TQD_DataLogger* FDataLogger = nullptr;
  const TQD_CustomReadingsList* FCustomReadingsList = nullptr;
  bool FMonitorWindowPopulated = false;
  bool FErrorWindowPopulated = false;
  std::string FErrorMessage;  // what the error layout shows
  int32_t FLastPaintDuration = 0;
  // Widgets were marked by work begun at AStart (a population, a refresh):
  // the host is told, and the time waits for the paint that draws them.
  void WidgetsMarked(int64_t AStart);
  TQD_OptionInteger& FLeft;
  TQD_OptionInteger& FTop;
  TQD_OptionInteger& FWidth;
  TQD_OptionInteger& FHeight;

 private:
  // Geometry the error layout took from defaults (not stored), and what was
  // applied, so that saving keeps "not set" unless the user moved or sized
  // the window since.
  bool FSizeFromErrorDefaults = false;
  bool FPosFromErrorDefaults = false;
  int FAppliedWidth = 0, FAppliedHeight = 0, FAppliedLeft = 0, FAppliedTop = 0;
  void Painted(int64_t AMicroseconds);
  bool FPaintPending = false;
  int64_t FMarkingUs = 0;  // of the latest marking since the last paint
};
