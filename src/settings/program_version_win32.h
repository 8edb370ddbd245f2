// What the program knows about itself and its host: the version and build date
// from its own version resource, and the operating system's major version.
#pragma once

#include <string>

struct TQD_ProgramVersion {
  int Major = 0;
  int Minor = 0;
  int BuildDays = 0;          // days from 2000-01-01 to the build date (third file version number)
  std::string VersionText;    // "%d.%d" of major and minor: "1.7"
  std::string BuildDateText;  // the build date in the user's short date format
};

// From the version resource of the running executable, or of AFileName.
// Throws TQD_FileError with the system's reason when there is none.
TQD_ProgramVersion GetProgramVersion();
TQD_ProgramVersion GetProgramVersion(const std::string& AFileName);

// The system reports the NT platform and a major version of at least AMajor.
bool IsWindowsVersionAtLeast(unsigned AMajor);
