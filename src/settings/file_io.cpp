// File opening by UTF-8 name; see file_io.h.
#include "settings/file_io.h"

#include <cerrno>
#include <system_error>

#ifndef _WIN32
// On Windows, in file_io_win32.cpp.
TQD_File OpenFileUtf8(const std::string& AFileName, const char* AMode) {
  return TQD_File(std::fopen(AFileName.c_str(), AMode));
}
#endif

std::string ErrnoReason(int AErrno) {
  return AErrno ? std::generic_category().message(AErrno) : std::string("unknown error");
}
