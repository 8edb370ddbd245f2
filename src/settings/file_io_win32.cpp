// File opening by UTF-8 name on Windows; see file_io.h.
//
// The name is converted by the system rather than through std::filesystem,
// whose conversion links the C++ library's whole locale machinery (every
// facet for two character types, half a megabyte of code) into the program.
#include <cerrno>
#include <string>

#include "base/win32_handles_win32.h"
#include "settings/file_io.h"

TQD_File OpenFileUtf8(const std::string& AFileName, const char* AMode) {
  std::wstring name;
  if (!Utf8ToWideExact(AFileName, name)) {
    errno = EINVAL;  // not UTF-8: no file can have that name
    return TQD_File();
  }
  std::wstring mode;
  for (const char* p = AMode; *p; ++p) mode += static_cast<wchar_t>(*p);
  return TQD_File(_wfopen(name.c_str(), mode.c_str()));
}
