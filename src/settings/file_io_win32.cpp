// File opening by UTF-8 name on Windows; see file_io.h.
//
// The name is converted by the system rather than through std::filesystem,
// whose conversion links the C++ library's whole locale machinery (every
// facet for two character types, half a megabyte of code) into the program.
#include <windows.h>

#include <cerrno>
#include <string>

#include "settings/file_io.h"

TQD_File OpenFileUtf8(const std::string& AFileName, const char* AMode) {
  std::wstring name;
  if (!AFileName.empty()) {
    const int length = static_cast<int>(AFileName.size());
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, AFileName.data(), length, nullptr, 0);
    if (n <= 0) {
      errno = EINVAL;  // not UTF-8: no file can have that name
      return TQD_File();
    }
    name.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, AFileName.data(), length, name.data(), n);
  }
  std::wstring mode;
  for (const char* p = AMode; *p; ++p) mode += static_cast<wchar_t>(*p);
  return TQD_File(_wfopen(name.c_str(), mode.c_str()));
}
