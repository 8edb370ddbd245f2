// Test HTTP client; see http_fetch.h.
#include "http_fetch.h"

#include <chrono>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

namespace beast = boost::beast;
namespace http = beast::http;
namespace net = boost::asio;
using tcp = net::ip::tcp;

THttpAnswer HttpFetch(uint16_t APort, const std::string& ATarget, const std::string& AMethod, int ATimeoutMs,
                      size_t AExtraHeaderBytes) {
  THttpAnswer out;
  net::io_context context;
  beast::tcp_stream stream(context);
  http::request<http::empty_body> request{http::string_to_verb(AMethod), ATarget, 11};
  request.set(http::field::host, "127.0.0.1");
  request.set(http::field::connection, "close");
  if (AExtraHeaderBytes) request.set("X-Padding", std::string(AExtraHeaderBytes, 'p'));
  http::response_parser<http::string_body> parser;
  parser.body_limit(64 * 1024 * 1024);
  if (AMethod == "HEAD") parser.skip(true);
  beast::flat_buffer buffer;
  beast::error_code error;
  const tcp::endpoint server(net::ip::address_v4::loopback(), APort);
  stream.expires_after(std::chrono::milliseconds(ATimeoutMs));
  stream.async_connect(server, [&](beast::error_code e) {
    if (e) {
      error = e;
      return;
    }
    http::async_write(stream, request, [&](beast::error_code e2, size_t) {
      if (e2) {
        error = e2;
        return;
      }
      http::async_read(stream, buffer, parser, [&](beast::error_code e3, size_t) { error = e3; });
    });
  });
  context.run();
  if (error) {
    out.Error = error.message();
    return out;
  }
  out.Status = static_cast<int>(parser.get().result_int());
  out.ContentType = std::string(parser.get()[http::field::content_type]);
  out.Body = parser.get().body();
  return out;
}

uint16_t FreeLoopbackPort() {
  net::io_context context;
  tcp::acceptor acceptor(context, tcp::endpoint(net::ip::address_v4::loopback(), 0));
  return acceptor.local_endpoint().port();
}
