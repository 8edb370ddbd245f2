// Where exceptions go that escape a timer or message handler: the
// application's handler. Handlers never let an exception cross a window
// procedure or a timer callback; they hand it here and carry on.
#pragma once

#include <exception>
#include <functional>

using TQD_ExceptionHandler = std::function<void(std::exception_ptr)>;

// Replaces the handler; returns the previous one. The default writes the
// exception's message to the standard error stream.
TQD_ExceptionHandler SetApplicationExceptionHandler(TQD_ExceptionHandler AHandler);
void HandleApplicationException(std::exception_ptr AException);
