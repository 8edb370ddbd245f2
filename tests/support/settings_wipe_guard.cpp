// The decision to allow deleting the program's settings; see settings_wipe_guard.h.
#include "settings_wipe_guard.h"

namespace {

std::string_view WithoutTrailingSlashes(std::string_view APath) {
  while (APath.size() > 1 && APath.back() == '/') APath.remove_suffix(1);
  return APath;
}

// Absolute, and no step that could lead back out of a folder ("..") or hide
// one ("." and empty steps make two spellings of one path).
bool IsPlainAbsolutePath(std::string_view APath) {
  if (APath.empty() || APath.front() != '/') return false;
  size_t start = 1;
  while (start <= APath.size()) {
    size_t end = APath.find('/', start);
    if (end == std::string_view::npos) end = APath.size();
    const std::string_view step = APath.substr(start, end - start);
    if ((step.empty() && end != APath.size()) || step == "." || step == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

std::string SettingsWipeRefusal(bool AUnderWine, std::string_view AWinePrefix, std::string_view ABuildDir) {
  const std::string why = "refusing to delete HKCU\\Software\\Quendal: ";
  if (!AUnderWine) return why + "not running under Wine, so the key holds a real user's settings";
  const std::string_view build = WithoutTrailingSlashes(ABuildDir);
  if (!IsPlainAbsolutePath(build)) return why + "the build folder \"" + std::string(ABuildDir) + "\" is not known";
  if (AWinePrefix.empty())
    return why + "WINEPREFIX is not set, so Wine uses the user's own prefix; run the test through ctest or tools/wine-run";
  const std::string_view prefix = WithoutTrailingSlashes(AWinePrefix);
  if (!IsPlainAbsolutePath(prefix))
    return why + "WINEPREFIX \"" + std::string(AWinePrefix) + "\" is not a plain absolute path";
  if (prefix.size() <= build.size() + 1 || prefix.substr(0, build.size()) != build || prefix[build.size()] != '/')
    return why + "WINEPREFIX \"" + std::string(AWinePrefix) + "\" is not inside the build tree \"" +
           std::string(build) + "\"";
  return {};
}
