// How the control panel gets the platform window behind each monitor window.
// On Windows the factory creates the real top-level window; in tests it hands
// out records that remember what the monitor window asked of them.
#pragma once

#include <memory>

#include "monitors/monitor_window.h"

class TQD_MonitorHostFactory {
 public:
  virtual ~TQD_MonitorHostFactory() = default;

  // A new, not yet visible host for a window of that kind. May throw when the
  // platform refuses the window; the control panel then creates nothing.
  virtual std::unique_ptr<TQD_MonitorHost> CreateHost(TQD_MonitorKind AKind) = 0;

  // The monitor window now exists over AHost and is about to be shown (which
  // populates it). The platform window routes its paint, mouse and DPI
  // messages to it from here on and sets its mouse handler and context menu.
  // The window is destroyed before its host.
  virtual void MonitorWindowCreated(TQD_MonitorHost& AHost, TQD_MonitorWindow& AWindow) {
    (void)AHost;
    (void)AWindow;
  }

  // The last step of enabling a window: it is shown and populated. The
  // platform makes it snap and glue to the control panel from here on.
  virtual void MonitorWindowEnabled(TQD_MonitorHost& AHost, TQD_MonitorWindow& AWindow) {
    (void)AHost;
    (void)AWindow;
  }
};
