// File opening by UTF-8 name; see file_io.h.
#include "settings/file_io.h"

#include <cerrno>
#include <system_error>

#ifdef _WIN32
#include <filesystem>
#endif

TQD_File OpenFileUtf8(const std::string& AFileName, const char* AMode) {
#ifdef _WIN32
  std::filesystem::path path;
  try {
    path = std::filesystem::path(std::u8string(AFileName.begin(), AFileName.end()));
  } catch (const std::exception&) {
    errno = EINVAL;  // not UTF-8: no file can have that name
    return TQD_File();
  }
  std::wstring mode;
  for (const char* p = AMode; *p; ++p) mode += static_cast<wchar_t>(*p);
  return TQD_File(_wfopen(path.c_str(), mode.c_str()));
#else
  return TQD_File(std::fopen(AFileName.c_str(), AMode));
#endif
}

std::string ErrnoReason(int AErrno) {
  return AErrno ? std::generic_category().message(AErrno) : std::string("unknown error");
}
