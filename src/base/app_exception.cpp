// The application's exception handler; see app_exception.h.
#include "base/app_exception.h"

#include <cstdio>
#include <stdexcept>
#include <utility>

namespace {

void DefaultHandler(std::exception_ptr AException) {
  try {
    std::rethrow_exception(AException);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Quendal: %s\n", e.what());
  } catch (...) {
    std::fprintf(stderr, "Quendal: unknown exception\n");
  }
}

TQD_ExceptionHandler& Handler() {
  static TQD_ExceptionHandler handler = DefaultHandler;
  return handler;
}

}  // namespace

TQD_ExceptionHandler SetApplicationExceptionHandler(TQD_ExceptionHandler AHandler) {
  return std::exchange(Handler(), AHandler ? std::move(AHandler) : DefaultHandler);
}

void HandleApplicationException(std::exception_ptr AException) {
  // A handler that throws must not take the caller down with it.
  try {
    Handler()(AException);
  } catch (...) {
  }
}
