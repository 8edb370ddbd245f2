// A blocking HTTP/1.1 client for tests: one request on a fresh loopback
// connection, with a deadline, so a server that hangs fails the test instead
// of stalling it.
#pragma once

#include <cstdint>
#include <string>

struct THttpAnswer {
  int Status = 0;  // 0: no answer (Error says why)
  std::string ContentType;
  std::string Body;
  std::string Error;
};

THttpAnswer HttpFetch(uint16_t APort, const std::string& ATarget, const std::string& AMethod = "GET",
                      int ATimeoutMs = 5000, size_t AExtraHeaderBytes = 0);

// A free loopback port at the time of asking.
uint16_t FreeLoopbackPort();
