// A monitor window's platform window as a plain record: it remembers what the
// window asked of it (client size, position, minimum size, corner preference,
// repaints) and lets a test move, size or rescale it as a user would. The
// screen is one 1920×1080 primary monitor whose work area leaves room for a
// 40-pixel taskbar. The factory hands such hosts to the control panel and
// keeps track of which are alive.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "monitors/monitor_host_factory.h"

class TFakeMonitorHostFactory;

class TFakeMonitorHost : public TQD_MonitorHost {
 public:
  TFakeMonitorHost(TQD_MonitorKind AKind, int ADPI, TFakeMonitorHostFactory* AOwner = nullptr);
  ~TFakeMonitorHost() override;

  int DPI() const override { return Dpi; }
  void GetClientSize(int& AWidth, int& AHeight) const override;
  void SetClientSize(int AWidth, int AHeight) override;
  void SetMinClientSize(int AWidth, int AHeight) override;
  void GetPosition(int& ALeft, int& ATop) const override;
  void SetPosition(int ALeft, int ATop) override;
  void GetPrimaryScreenSize(int& AWidth, int& AHeight) const override;
  std::vector<TQD_ScreenRect> MonitorWorkAreas() const override;
  void SetCornerPreference(int APreference) override;
  // Counts; and when the host knows its window, draws the marked widgets as
  // a window's paint does (Drawn: the last ones).
  void InvalidateWidgets() override;

  TQD_MonitorKind Kind;
  int Dpi;
  int ClientWidth = 120;  // the design size until the first population
  int ClientHeight = 120;
  int Left = 0;
  int Top = 0;
  int MinWidth = 0;
  int MinHeight = 0;
  int CornerPreference = -1;  // -1: never set
  std::vector<TQD_ScreenRect> WorkAreas = {{0, 0, 1920, 1040}};
  // SetMinClientSize comes with every size the window applies from its
  // stored geometry (each population, error layout and size reset) and
  // with every DPI change.
  int MinSizeCalls = 0;
  int Invalidations = 0;
  std::vector<TQD_Widget*> Drawn;
  TQD_MonitorWindow* Window = nullptr;  // set when the control panel reports it

 private:
  TFakeMonitorHostFactory* FOwner;
};

class TFakeMonitorHostFactory : public TQD_MonitorHostFactory {
 public:
  std::unique_ptr<TQD_MonitorHost> CreateHost(TQD_MonitorKind AKind) override;
  void MonitorWindowCreated(TQD_MonitorHost& AHost, TQD_MonitorWindow& AWindow) override;

  // The living host of a kind, or nullptr.
  TFakeMonitorHost* Host(TQD_MonitorKind AKind) const;
  int LiveHosts() const { return static_cast<int>(FLive.size()); }

  int Dpi = QD_DefaultDPI;                  // of every new host
  std::vector<TQD_MonitorKind> Created;     // every CreateHost, in order
  // What the window had when the control panel reported it.
  struct TReport {
    TQD_MonitorKind Kind;
    bool HasColorTable, HasDataLogger, HasCustomReadingsList, Shown;
  };
  std::vector<TReport> Reports;
  // Runs at the start of CreateHost (a nested message loop, a failure).
  std::function<void(TQD_MonitorKind)> OnCreateHost;

 private:
  friend class TFakeMonitorHost;
  std::vector<TFakeMonitorHost*> FLive;
};
