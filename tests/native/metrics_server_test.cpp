// The metrics endpoint over real loopback sockets: what each request gets,
// that idle and oversized clients neither stall nor break it, and how the
// settings group and the control panel switch it.
#include <gtest/gtest.h>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>
#include <chrono>
#include <future>

#include "http_fetch.h"
#include "metrics/metrics_format.h"
#include "metrics/metrics_server.h"
#include "metrics/metrics_settings_group.h"

namespace {

using tcp = boost::asio::ip::tcp;

struct TServerRig {
  TQD_MetricsSnapshotSlot Slot;
  TQD_MetricsServer Server{Slot};
  explicit TServerRig(std::chrono::milliseconds ATimeout = std::chrono::milliseconds(10000)) {
    TQD_MetricsSnapshot s;
    s.Version = "9.9";
    s.HWiPollStatus = 0;
    Slot.Publish(std::make_shared<const TQD_MetricsSnapshot>(s));
    TQD_MetricsServerOptions options;
    options.Timeout = ATimeout;
    std::string error;
    EXPECT_TRUE(Server.Start(options, error)) << error;
  }
};

TEST(MetricsServer, AnswersMetricsAndTheIndexAndNothingElse) {
  TServerRig rig;
  struct TCase {
    const char* Method;
    const char* Target;
    int Status;
    const char* BodyPart;
  };
  const TCase cases[] = {
      {"GET", "/metrics", 200, "quendal_build_info{version=\"9.9\"} 1"},
      {"GET", "/metrics?name[]=x", 200, "quendal_hwinfo_poll_status 0"},
      {"GET", "/", 200, "href=\"/metrics\""},
      {"HEAD", "/metrics", 200, ""},
      {"GET", "/metrics/", 404, "/metrics"},
      {"GET", "/favicon.ico", 404, ""},
      {"POST", "/metrics", 405, ""},
      {"DELETE", "/", 405, ""},
  };
  for (const TCase& c : cases) {
    const THttpAnswer a = HttpFetch(rig.Server.Port(), c.Target, c.Method);
    EXPECT_EQ(a.Status, c.Status) << c.Method << " " << c.Target << ": " << a.Error;
    EXPECT_NE(a.Body.find(c.BodyPart), std::string::npos) << c.Method << " " << c.Target << ": " << a.Body;
    if (c.Status == 200 && std::string(c.Target) != "/")
      EXPECT_EQ(a.ContentType, QD_MetricsContentType);
  }
}

TEST(MetricsServer, ServesTheNewestPublishedSnapshot) {
  TServerRig rig;
  TQD_MetricsSnapshot s;
  s.HWiPollStatus = 255;
  rig.Slot.Publish(std::make_shared<const TQD_MetricsSnapshot>(s));
  EXPECT_NE(HttpFetch(rig.Server.Port(), "/metrics").Body.find("quendal_hwinfo_poll_status 255\n"),
            std::string::npos);
}

TEST(MetricsServer, IdleAndHalfSentClientsDoNotDelayOthersAndAreDropped) {
  TServerRig rig(std::chrono::milliseconds(1000));
  boost::asio::io_context context;
  const tcp::endpoint server(boost::asio::ip::address_v4::loopback(), rig.Server.Port());
  tcp::socket idle(context), half(context);
  idle.connect(server);
  half.connect(server);
  boost::asio::write(half, boost::asio::buffer(std::string("GET /metrics HTTP/1.1\r\nHost: x\r\n")));

  // Liveness, not speed: a scrape beside them is answered at all.
  const THttpAnswer a = HttpFetch(rig.Server.Port(), "/metrics", "GET", 5000);
  EXPECT_EQ(a.Status, 200) << a.Error;

  // Both are closed by the server once their time is up: a read sees the end.
  for (tcp::socket* s : {&idle, &half}) {
    auto closed = std::async(std::launch::async, [s] {
      char byte;
      boost::system::error_code error;
      boost::asio::read(*s, boost::asio::buffer(&byte, 1), error);
      return error == boost::asio::error::eof || error == boost::asio::error::connection_reset;
    });
    ASSERT_EQ(closed.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_TRUE(closed.get());
  }
}

TEST(MetricsServer, OversizedRequestsAreRefusedAndServingGoesOn) {
  TServerRig rig;
  const THttpAnswer big = HttpFetch(rig.Server.Port(), "/metrics", "GET", 5000, 16 * 1024);
  EXPECT_TRUE(big.Status == 431 || big.Status == 0) << big.Status;
  EXPECT_EQ(HttpFetch(rig.Server.Port(), "/metrics").Status, 200);
}

TEST(MetricsServer, APortInUseIsReportedAndStopFreesIt) {
  TServerRig first;
  const uint16_t port = first.Server.Port();
  TQD_MetricsSnapshotSlot slot;
  TQD_MetricsServer second(slot);
  TQD_MetricsServerOptions options;
  options.Port = port;
  std::string error;
  EXPECT_FALSE(second.Start(options, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(second.Running());

  first.Server.Stop();
  EXPECT_NE(HttpFetch(port, "/metrics", "GET", 2000).Status, 200);
  EXPECT_TRUE(second.Start(options, error)) << error;
}

TEST(MetricsSettingsGroup, PortTextValidationAndApply) {
  struct TCase {
    bool Enabled;
    const char* Port;
    bool Valid;
    int32_t Stored;  // the record's port afterwards (it starts at 28415)
  };
  const TCase cases[] = {
      {true, "9464", true, 9464},   {true, " 80 ", true, 80},     {true, "65535", true, 65535},
      {true, "0", false, 28415},    {true, "65536", false, 28415}, {true, "-1", false, 28415},
      {true, "0x50", false, 28415}, {true, "", false, 28415},     {true, "99999999999", false, 28415},
      {false, "", true, 28415},     {false, "8080", true, 8080},
  };
  for (const TCase& c : cases) {
    TQD_Settings s;
    TQD_MetricsSettingsGroup g = TQD_MetricsSettingsGroup::FromSettings(s);
    EXPECT_EQ(g.PortText, "28415");
    g.Enabled = c.Enabled;
    g.PortText = c.Port;
    g.AllInterfaces = true;
    EXPECT_EQ(g.Validate().empty(), c.Valid) << c.Port;
    EXPECT_EQ(g.ApplyTo(s), c.Valid) << c.Port;
    EXPECT_EQ(s.MetricsEndpointPort.Value, c.Stored) << c.Port;
    EXPECT_EQ(s.MetricsEndpointEnabled.Value, c.Valid && c.Enabled) << c.Port;
    EXPECT_EQ(s.MetricsEndpointAllInterfaces.Value, c.Valid) << c.Port;
    EXPECT_EQ(g.PortEditable(), c.Enabled);
  }
}

}  // namespace

#include "app/main_form.h"
#include "settings/memory_key_value_store.h"
#include "sim/fake_monitor_host.h"
#include "sim/fake_ports.h"
#include "sim/profiles.h"

namespace {

TEST(MetricsEndpoint, ControlPanelServesEachPollOnceSwitchedOnAndKeepsGoodReadings) {
  TSF_Profile profile;
  ASSERT_TRUE(MakeProfile("intel-hybrid", profile));
  TFakeCollector fakes;
  fakes.SystemInfo.CPU = profile.CPUInfo;
  fakes.SystemInfo.Drives = {{true, 0, "C:\\", "System", 100, 40, 60}};
  fakes.Network.Rows = {MakeIFRow(1, true)};
  TQD_MemoryKeyValueStore store;
  TFakeMonitorHostFactory hosts;

  {  // off unless switched on
    TFakeCollector other;
    TQD_MainForm form(store, other.Ports(), hosts);
    EXPECT_FALSE(form.Metrics().Running());
  }

  const uint16_t port = FreeLoopbackPort();
  RegWriteBool(store, QD_RegBaseKey, "MetricsEndpointEnabled", true);
  RegWriteInteger(store, QD_RegBaseKey, "MetricsEndpointPort", port);
  TQD_MainFormSystem system;
  system.ProgramVersionText = [] { return std::string("1.7"); };
  TQD_MainForm form(store, fakes.Ports(), hosts, system);
  ASSERT_TRUE(form.Metrics().Running()) << form.Metrics().StatusText();
  EXPECT_EQ(form.Metrics().StatusText(), "Metrics endpoint: http://127.0.0.1:" + std::to_string(port) + "/metrics");
  const std::string before = HttpFetch(port, "/metrics").Body;
  EXPECT_NE(before.find("quendal_hwinfo_poll_status 1\n"), std::string::npos) << before;
  EXPECT_NE(before.find("quendal_build_info{version=\"1.7\"} 1"), std::string::npos);

  fakes.SharedMemory.Block = WriteBlock(profile.Block);
  fakes.Timers.Created.at(0)->Tick();  // internal poll
  fakes.Timers.Created.at(1)->Tick();  // HWiNFO poll
  const std::string polled = HttpFetch(port, "/metrics").Body;
  EXPECT_NE(polled.find("quendal_hwinfo_poll_status 0\n"), std::string::npos);
  EXPECT_NE(polled.find("quendal_hwinfo_temperature_celsius{"), std::string::npos);
  EXPECT_NE(polled.find("quendal_logical_drive_total_bytes{drive=\"C:\\\\\",volume=\"System\"} 100"),
            std::string::npos);

  // HWiNFO goes away: the status says so, the last good readings stay.
  fakes.SharedMemory.Block.reset();
  fakes.Timers.Created.at(1)->Tick();
  const std::string gone = HttpFetch(port, "/metrics").Body;
  EXPECT_NE(gone.find("quendal_hwinfo_poll_status 255\n"), std::string::npos);
  EXPECT_NE(gone.find("quendal_hwinfo_temperature_celsius{"), std::string::npos);

  form.Settings().MetricsEndpointEnabled.Value = false;
  form.ApplySettings();
  EXPECT_FALSE(form.Metrics().Running());
  EXPECT_NE(HttpFetch(port, "/metrics", "GET", 2000).Status, 200);
}

}  // namespace

#include "collector/data_logger.h"

namespace {

TEST(MetricsSnapshot, PollsShareTheLayoutUntilAReadingChangesItsName) {
  TSF_Profile profile;
  ASSERT_TRUE(MakeProfile("intel-hybrid", profile));
  TFakeCollector fakes;
  fakes.SystemInfo.CPU = profile.CPUInfo;
  fakes.SharedMemory.Block = WriteBlock(profile.Block);
  TQD_DataLogger logger(fakes.Ports(), false, 180, 2000);
  logger.HWiPolling();
  const auto first = CaptureMetricsReadings(logger, 0);
  ASSERT_EQ(first->Values.size(), profile.Block.Readings.size());

  AdvanceProfile(profile, 5, 2000);
  fakes.SharedMemory.Block = WriteBlock(profile.Block);
  logger.HWiPolling();
  const auto second = CaptureMetricsReadings(logger, 0, first.get());
  EXPECT_EQ(second->Layout, first->Layout);
  EXPECT_NE(second->Values, first->Values);

  profile.Block.Readings[3].szLabelUser = "Renamed in HWiNFO";
  fakes.SharedMemory.Block = WriteBlock(profile.Block);
  logger.HWiPolling();
  const auto third = CaptureMetricsReadings(logger, 0, second.get());
  ASSERT_NE(third->Layout, second->Layout);
  EXPECT_EQ(third->Layout->Items[3].Label, "Renamed in HWiNFO");
}

}  // namespace
