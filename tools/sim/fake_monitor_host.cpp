// A monitor window's platform window as a plain record; see fake_monitor_host.h.
#include "sim/fake_monitor_host.h"

#include <algorithm>

#include "monitors/monitor_window.h"

TFakeMonitorHost::TFakeMonitorHost(TQD_MonitorKind AKind, int ADPI, TFakeMonitorHostFactory* AOwner)
    : Kind(AKind), Dpi(ADPI), FOwner(AOwner) {
  if (FOwner) FOwner->FLive.push_back(this);
}

TFakeMonitorHost::~TFakeMonitorHost() {
  if (FOwner) FOwner->FLive.erase(std::remove(FOwner->FLive.begin(), FOwner->FLive.end(), this), FOwner->FLive.end());
}

void TFakeMonitorHost::InvalidateWidgets() {
  ++Invalidations;
  if (!Window) return;
  const TQD_MonitorWindow::TPaintTimer timer(Window);
  Window->Grid().TakeDirty(Drawn);
  for (TQD_Widget* w : Drawn) w->Draw();
}

void TFakeMonitorHost::GetClientSize(int& AWidth, int& AHeight) const {
  AWidth = ClientWidth;
  AHeight = ClientHeight;
}

void TFakeMonitorHost::SetClientSize(int AWidth, int AHeight) {
  // As the system does: never below the minimum tracking size.
  ClientWidth = std::max(AWidth, MinWidth);
  ClientHeight = std::max(AHeight, MinHeight);
}

void TFakeMonitorHost::SetMinClientSize(int AWidth, int AHeight) {
  MinWidth = AWidth;
  MinHeight = AHeight;
  ++MinSizeCalls;
}

void TFakeMonitorHost::GetPosition(int& ALeft, int& ATop) const {
  ALeft = Left;
  ATop = Top;
}

void TFakeMonitorHost::SetPosition(int ALeft, int ATop) {
  Left = ALeft;
  Top = ATop;
}

void TFakeMonitorHost::GetPrimaryScreenSize(int& AWidth, int& AHeight) const {
  AWidth = 1920;
  AHeight = 1080;
}

std::vector<TQD_ScreenRect> TFakeMonitorHost::MonitorWorkAreas() const { return WorkAreas; }

void TFakeMonitorHost::SetCornerPreference(int APreference) { CornerPreference = APreference; }

std::unique_ptr<TQD_MonitorHost> TFakeMonitorHostFactory::CreateHost(TQD_MonitorKind AKind) {
  if (OnCreateHost) OnCreateHost(AKind);
  Created.push_back(AKind);
  return std::make_unique<TFakeMonitorHost>(AKind, Dpi, this);
}

void TFakeMonitorHostFactory::MonitorWindowCreated(TQD_MonitorHost& AHost, TQD_MonitorWindow& AWindow) {
  TFakeMonitorHost& host = static_cast<TFakeMonitorHost&>(AHost);
  host.Window = &AWindow;
  Reports.push_back({host.Kind, AWindow.ColorTable() != nullptr, AWindow.DataLogger() != nullptr,
                     AWindow.CustomReadingsList() != nullptr, host.MinSizeCalls > 0});
}

TFakeMonitorHost* TFakeMonitorHostFactory::Host(TQD_MonitorKind AKind) const {
  for (TFakeMonitorHost* h : FLive)
    if (h->Kind == AKind) return h;
  return nullptr;
}
