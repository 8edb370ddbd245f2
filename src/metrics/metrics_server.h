// The HTTP side of the metrics endpoint: one worker thread that accepts
// connections and answers GET /metrics from the newest published snapshot.
// The UI thread only publishes; a scrape formats on the worker, so neither
// waits for the other beyond the pointer swap. Each connection is served
// asynchronously on that one thread, with a size limit on requests and a
// deadline on every read and write, so an idle or slow client costs a socket
// and nothing else.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "metrics/metrics_snapshot.h"

struct TQD_MetricsServerOptions {
  bool AllInterfaces = false;  // otherwise 127.0.0.1 only
  uint16_t Port = 0;           // 0: any free port (tests)
  // A client that has not sent a whole request (or taken the answer) by then
  // is dropped; also the keep-alive idle time.
  std::chrono::milliseconds Timeout{10000};
  size_t MaxConnections = 32;
};

class TQD_MetricsServer {
 public:
  explicit TQD_MetricsServer(const TQD_MetricsSnapshotSlot& ASlot);
  ~TQD_MetricsServer();
  TQD_MetricsServer(const TQD_MetricsServer&) = delete;
  TQD_MetricsServer& operator=(const TQD_MetricsServer&) = delete;

  // Binds and starts the worker; false, with the reason in AError, when the
  // address cannot be had. A running server is stopped first.
  bool Start(const TQD_MetricsServerOptions& AOptions, std::string& AError);
  // Closes every connection and joins the worker.
  void Stop();
  bool Running() const;
  // The bound port while running.
  uint16_t Port() const;

 private:
  struct TImpl;
  const TQD_MetricsSnapshotSlot& FSlot;
  std::unique_ptr<TImpl> FImpl;
};
