// Opening files by UTF-8 name, and the error a file operation raises when a
// file cannot be opened, created, read or written: its message names the file
// and the system's reason, so the caller can show it as it is.
#pragma once

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

class TQD_FileError : public std::runtime_error {
 public:
  // AAction completes "Cannot ... file": "open", "create", "read", "write".
  TQD_FileError(const std::string& AFileName, const std::string& AAction, const std::string& AReason)
      : std::runtime_error("Cannot " + AAction + " file \"" + AFileName + "\": " + AReason), FFileName(AFileName) {}
  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
};

struct TQD_FileCloser {
  void operator()(std::FILE* AFile) const { std::fclose(AFile); }
};
using TQD_File = std::unique_ptr<std::FILE, TQD_FileCloser>;

// fopen by a UTF-8 name (a wide name on Windows, where the narrow one would be
// taken as ANSI). Empty on failure, with errno set by the C library.
TQD_File OpenFileUtf8(const std::string& AFileName, const char* AMode);

// The C library's text for an errno value; "unknown error" for 0.
std::string ErrnoReason(int AErrno);
