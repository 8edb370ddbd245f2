// The autostart entry; see autostart.h.
#include "settings/autostart.h"

bool IsAutostartRegistered(TQD_KeyValueStore& AStore, const std::string& AExecutablePath) {
  auto data = RegTryReadString(AStore, QD_AutostartKey, QD_ApplicationTitle);
  return data && *data == AExecutablePath;
}

void RegisterAutostart(TQD_KeyValueStore& AStore, const std::string& AExecutablePath) {
  RegWriteString(AStore, QD_AutostartKey, QD_ApplicationTitle, AExecutablePath);
}

void UnregisterAutostart(TQD_KeyValueStore& AStore) {
  RegDeleteValue(AStore, QD_AutostartKey, QD_ApplicationTitle);
}
