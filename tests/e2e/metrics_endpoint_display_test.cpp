// The metrics endpoint of the real program under Wine, scraped by a real
// Prometheus (started by tests/e2e/with-prometheus): sensorfeed publishes,
// Quendal serves, Prometheus stores a CPU temperature series that the test
// reads back through its query API. An idle connection held open meanwhile
// stalls neither other scrapes nor the control panel.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "settings_wipe_guard_win32.h"
#include "child_process_win32.h"
#include "foreign_window_win32.h"
#include "http_fetch.h"
#include "settings/key_value_store.h"
#include "settings/registry_store_win32.h"

namespace {


// Wine maps the Unix root to Z:.
std::string WindowsPath(std::string AUnixPath) {
  for (char& c : AUnixPath)
    if (c == '/') c = '\\';
  return "Z:" + AUnixPath;
}

// The body of the first answer to AMethod AURL on APort that contains every
// text of ANeedles, asked once a second for at most ASeconds; empty if none.
std::string WaitForBody(uint16_t APort, const std::string& ATarget, std::initializer_list<const char*> ANeedles,
                        int ASeconds) {
  for (int i = 0; i < ASeconds; ++i) {
    const THttpAnswer a = HttpFetch(APort, ATarget);
    bool all = a.Status == 200;
    for (const char* n : ANeedles) all = all && a.Body.find(n) != std::string::npos;
    if (all) return a.Body;
    Sleep(1000);
  }
  return {};
}

}  // namespace

TEST(MetricsEndpoint, PrometheusScrapesQuendalAndIdleClientsStallNothing) {
  const char* metricsPort = std::getenv("QUENDAL_METRICS_PORT");
  const char* prometheusPort = std::getenv("QUENDAL_PROMETHEUS_PORT");
  const char* scrapeFile = std::getenv("QUENDAL_SCRAPE_FILE");
  if (!metricsPort || !prometheusPort || !scrapeFile)
    GTEST_SKIP() << "needs a Prometheus server: run through tests/e2e/with-prometheus (ctest does)";
  const uint16_t port = static_cast<uint16_t>(std::atoi(metricsPort));

  // Off by default: switched on in the registry before the start.
  ASSERT_TRUE(WipeQuendalSettings());
  TQD_RegistryStoreWin32 registry;
  RegWriteBool(registry, "Software\\Quendal", "MetricsEndpointEnabled", true);
  RegWriteInteger(registry, "Software\\Quendal", "MetricsEndpointPort", port);

  TStopEvent stop;
  TChild feed(L"publish --profile intel-hybrid --interval 200" + stop.Arg());
  TChild app(L"", L"Quendal.exe");

  const std::string scrape = WaitForBody(
      port, "/metrics", {"quendal_hwinfo_poll_status 0\n", "quendal_hwinfo_temperature_celsius{"}, 60);
  ASSERT_FALSE(scrape.empty()) << "no scrape with readings; Quendal said: " << app.Output();
  std::ofstream(WindowsPath(scrapeFile), std::ios::binary) << scrape;
  EXPECT_NE(scrape.find("sensor_id=\"0xF0000501\""), std::string::npos);
  EXPECT_NE(scrape.find("# TYPE quendal_network_receive_bytes_total counter"), std::string::npos);

  {
    // A client that connects and sends nothing: others are still served,
    // and the control panel still answers its messages.
    WSADATA wsa;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
    SOCKET idle = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(idle, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    const THttpAnswer beside = HttpFetch(port, "/metrics", "GET", 5000);
    EXPECT_EQ(beside.Status, 200) << beside.Error;
    HWND main = FindWindowW(QD_MainFormClass, nullptr);
    ASSERT_NE(main, nullptr);
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &answer), 0);
    closesocket(idle);
    WSACleanup();
  }

  // Prometheus has scraped it: a CPU temperature series comes back.
  const uint16_t prometheus = static_cast<uint16_t>(std::atoi(prometheusPort));
  const std::string query =
      "/api/v1/query?query=quendal_hwinfo_temperature_celsius%7Bsensor_id%3D%220xF0000501%22%7D";
  const std::string answer =
      WaitForBody(prometheus, query, {"\"status\":\"success\"", "\"sensor_id\":\"0xF0000501\"", "\"value\":["}, 60);
  EXPECT_FALSE(answer.empty()) << "Prometheus has no CPU temperature: "
                               << HttpFetch(prometheus, query).Body;
  const std::string up = HttpFetch(prometheus, "/api/v1/query?query=up%7Bjob%3D%22quendal%22%7D").Body;
  EXPECT_NE(up.find("\"1\"]"), std::string::npos) << up;

  // A session end with the server running: it stops, and the program saves and ends.
  HWND main = FindWindowW(QD_MainFormClass, nullptr);
  ASSERT_NE(main, nullptr);
  EndSessionAsLogoff(main);
  EXPECT_EQ(app.Wait(15000), 0);
  EXPECT_TRUE(RegReadBool(registry, "Software\\Quendal", "MetricsEndpointEnabled", false));
  EXPECT_EQ(RegReadInteger(registry, "Software\\Quendal", "MetricsEndpointPort", 0), port);

  stop.Set();
  feed.Wait(10000);
  EXPECT_TRUE(WipeQuendalSettings());
}
