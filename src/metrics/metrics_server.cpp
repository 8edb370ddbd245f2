// The metrics endpoint's HTTP server on Boost.Beast; see metrics_server.h.
#include "metrics/metrics_server.h"

#include <atomic>
#include <optional>
#include <string_view>
#include <thread>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include "base/thread_stack.h"
#include "metrics/metrics_format.h"

namespace {

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;

// Every request we answer fits easily; anything longer is not a scrape.
constexpr uint32_t kHeaderLimit = 8192;
constexpr char kIndexPage[] = "<html><body><a href=\"/metrics\">Quendal metrics</a></body></html>\n";

struct TState {
  const TQD_MetricsSnapshotSlot& Slot;
  TQD_MetricsServerOptions Options;
  std::atomic<size_t> Connections{0};
};

class TSession : public std::enable_shared_from_this<TSession> {
 public:
  TSession(tcp::socket ASocket, TState& AState) : FStream(std::move(ASocket)), FState(AState) {
    ++FState.Connections;
  }
  ~TSession() { --FState.Connections; }

  void Read() {
    FParser.emplace();
    FParser->header_limit(kHeaderLimit);
    FParser->body_limit(0);
    FStream.expires_after(FState.Options.Timeout);
    http::async_read(FStream, FBuffer, *FParser,
                     [self = shared_from_this()](beast::error_code AError, size_t) { self->OnRead(AError); });
  }

 private:
  void OnRead(beast::error_code AError) {
    if (AError == http::error::header_limit || AError == http::error::buffer_overflow) {
      Reply(http::status::request_header_fields_too_large, "text/plain", "Request too large.\n", false);
      return;
    }
    if (AError == http::error::body_limit) {
      Reply(http::status::payload_too_large, "text/plain", "No body expected.\n", false);
      return;
    }
    if (AError) return;  // closed, timed out or garbled: the connection goes with this session

    const auto& request = FParser->get();
    std::string_view path(request.target().data(), request.target().size());
    path = path.substr(0, path.find('?'));
    const bool get = request.method() == http::verb::get || request.method() == http::verb::head;
    FHead = request.method() == http::verb::head;
    const bool keepAlive = request.keep_alive();
    if (path != "/metrics" && path != "/") {
      Reply(http::status::not_found, "text/plain", "Not found: the metrics are at /metrics.\n", keepAlive);
    } else if (!get) {
      Reply(http::status::method_not_allowed, "text/plain", "Only GET and HEAD.\n", keepAlive);
    } else if (path == "/") {
      Reply(http::status::ok, "text/html; charset=utf-8", kIndexPage, keepAlive);
    } else {
      static const TQD_MetricsSnapshot kNothingYet;
      const std::shared_ptr<const TQD_MetricsSnapshot> snapshot = FState.Slot.Current();
      std::string body;
      FormatMetrics(snapshot ? *snapshot : kNothingYet, MetricsClockMs(), body);
      Reply(http::status::ok, QD_MetricsContentType, std::move(body), keepAlive);
    }
  }

  void Reply(http::status AStatus, const char* AType, std::string ABody, bool AKeepAlive) {
    FResponse = {};
    FResponse.version(11);
    FResponse.result(AStatus);
    FResponse.set(http::field::server, "Quendal");
    FResponse.set(http::field::content_type, AType);
    if (AStatus == http::status::method_not_allowed) FResponse.set(http::field::allow, "GET, HEAD");
    FResponse.body() = std::move(ABody);
    FResponse.prepare_payload();
    if (FHead) FResponse.body().clear();  // the length stays that of the full answer
    FResponse.keep_alive(AKeepAlive);
    FStream.expires_after(FState.Options.Timeout);
    http::async_write(FStream, FResponse,
                      [self = shared_from_this()](beast::error_code AError, size_t) { self->OnWrite(AError); });
  }

  void OnWrite(beast::error_code AError) {
    if (AError) return;
    if (!FResponse.keep_alive()) {
      beast::error_code ignored;
      FStream.socket().shutdown(tcp::socket::shutdown_send, ignored);
      return;
    }
    FHead = false;
    Read();
  }

  beast::tcp_stream FStream;
  beast::flat_buffer FBuffer{kHeaderLimit + 1024};  // the limit is its maximum size
  std::optional<http::request_parser<http::empty_body>> FParser;
  http::response<http::string_body> FResponse;
  bool FHead = false;
  TState& FState;
};

}  // namespace

struct TQD_MetricsServer::TImpl {
  explicit TImpl(const TQD_MetricsSnapshotSlot& ASlot, const TQD_MetricsServerOptions& AOptions)
      : State{ASlot, AOptions} {}

  void Accept() {
    Acceptor.async_accept([this](beast::error_code AError, tcp::socket ASocket) {
      if (AError == net::error::operation_aborted) return;  // closing
      if (!AError) {
        if (State.Connections < State.Options.MaxConnections)
          std::make_shared<TSession>(std::move(ASocket), State)->Read();
        // else the socket closes as it goes out of scope: too many at once
      }
      Accept();
    });
  }

  void Run() {
    // A handler that throws (out of memory while formatting) costs that
    // connection, not the endpoint.
    for (;;) {
      try {
        Context.run();
        return;
      } catch (...) {
      }
    }
  }

  TState State;  // outlives the sessions the context still holds
  net::io_context Context{1};
  tcp::acceptor Acceptor{Context};
  uint16_t Port = 0;
  std::thread Worker;
};

TQD_MetricsServer::TQD_MetricsServer(const TQD_MetricsSnapshotSlot& ASlot) : FSlot(ASlot) {}

TQD_MetricsServer::~TQD_MetricsServer() { Stop(); }

bool TQD_MetricsServer::Start(const TQD_MetricsServerOptions& AOptions, std::string& AError) {
  Stop();
  auto impl = std::make_unique<TImpl>(FSlot, AOptions);
  const tcp::endpoint endpoint(AOptions.AllInterfaces ? net::ip::address(net::ip::address_v4::any())
                                                      : net::ip::address(net::ip::address_v4::loopback()),
                               AOptions.Port);
  beast::error_code error;
  impl->Acceptor.open(endpoint.protocol(), error);
#ifndef _WIN32
  // Elsewhere this only lets a restart reuse a port in TIME_WAIT; on Windows
  // it would let another program take the port from under us.
  if (!error) impl->Acceptor.set_option(net::socket_base::reuse_address(true), error);
#endif
  if (!error) impl->Acceptor.bind(endpoint, error);
  if (!error) impl->Acceptor.listen(net::socket_base::max_listen_connections, error);
  if (!error) impl->Port = impl->Acceptor.local_endpoint(error).port();
  if (error) {
    AError = error.message();
    return false;
  }
  impl->Accept();
  TImpl* raw = impl.get();
  impl->Worker = std::thread([raw] {
    ReleaseUnusedStack();  // a new thread's, which from here on mostly waits
    raw->Run();
  });
  FImpl = std::move(impl);
  return true;
}

void TQD_MetricsServer::Stop() {
  if (!FImpl) return;
  // Handlers still queued (open connections) are destroyed with the context.
  FImpl->Context.stop();
  if (FImpl->Worker.joinable()) FImpl->Worker.join();
  FImpl.reset();
}

bool TQD_MetricsServer::Running() const { return FImpl != nullptr; }

uint16_t TQD_MetricsServer::Port() const { return FImpl ? FImpl->Port : 0; }
