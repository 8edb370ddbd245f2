// The source tree is a stack of layers (src/CMakeLists.txt lists them bottom
// first). This test reads every file under src/ and tools/ and reports, by
// file and line, an include that reaches a layer above its own, an include
// that is not layer-qualified, a Win32 header in a file not named *_win32,
// and a product library that links the simulated machine of tools/sim.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Bottom first; tools come after every product layer, sim before the programs
// built on it.
const std::vector<std::string> kLayers = {"base",     "settings", "collector", "metrics",    "render",  "ui",
                                          "widgets",  "readings", "monitors",  "app",        "sim",     "sensorfeed",
                                          "preview",  "icongen"};
const std::vector<std::string> kWin32Headers = {"windows.h", "winsock2.h", "winreg.h",   "shellapi.h", "commctrl.h",
                                                "dwmapi.h",  "iphlpapi.h", "shlobj.h",   "winuser.h",  "wingdi.h",
                                                "commdlg.h", "shlwapi.h",  "uxtheme.h",  "objbase.h",  "ws2tcpip.h"};

int LayerIndex(const std::string& AName) {
  auto it = std::find(kLayers.begin(), kLayers.end(), AName);
  return it == kLayers.end() ? -1 : static_cast<int>(it - kLayers.begin());
}

std::string Lower(std::string AText) {
  for (char& c : AText) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return AText;
}

// Every violation under ARoot (a checkout, or a fixture tree shaped like one).
std::vector<std::string> CheckLayering(const fs::path& ARoot) {
  std::vector<std::string> out;
  static const std::regex quoted(R"(^\s*#\s*include\s*"([^"]+)\")");
  static const std::regex angled(R"(^\s*#\s*include\s*<([^>]+)>)");
  for (const char* top : {"src", "tools"}) {
    if (!fs::exists(ARoot / top)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(ARoot / top)) {
      const fs::path& p = entry.path();
      const std::string ext = p.extension().string();
      const std::string rel = fs::relative(p, ARoot).generic_string();
      if (entry.is_regular_file() && p.filename() == "CMakeLists.txt" && std::string(top) == "src") {
        std::ifstream in(p);
        std::string line;
        static const std::regex sim(R"((^|[\s(])(quendal_sim|sensorfeed_core|sim)([\s)]|$))");
        for (int n = 1; std::getline(in, line); ++n)
          if (line.find('#') != 0 && std::regex_search(line, sim))
            out.push_back(rel + ":" + std::to_string(n) + ": a product library links the simulated machine");
        continue;
      }
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
      const std::string own = fs::relative(p, ARoot / top).begin()->string();
      const int ownIndex = LayerIndex(own);
      const bool win32File = p.stem().string().size() >= 6 &&
                             p.stem().string().compare(p.stem().string().size() - 6, 6, "_win32") == 0;
      std::ifstream in(p);
      std::string line;
      for (int n = 1; std::getline(in, line); ++n) {
        const std::string where = rel + ":" + std::to_string(n) + ": ";
        std::smatch m;
        if (std::regex_search(line, m, quoted)) {
          const std::string target = m[1];
          const auto slash = target.find('/');
          if (slash == std::string::npos) {
            out.push_back(where + "\"" + target + "\" is not layer-qualified");
            continue;
          }
          const int index = LayerIndex(target.substr(0, slash));
          if (index < 0)
            out.push_back(where + "\"" + target + "\" names no layer");
          else if (index > ownIndex)
            out.push_back(where + "includes " + target + " from " + kLayers[index] + ", a layer above " + own);
        } else if (!win32File && std::regex_search(line, m, angled)) {
          const std::string header = Lower(m[1]);
          if (std::find(kWin32Headers.begin(), kWin32Headers.end(), header) != kWin32Headers.end())
            out.push_back(where + "includes the Win32 header <" + header + "> in a file not named *_win32");
        }
      }
    }
  }
  return out;
}

void Write(const fs::path& APath, const std::string& AText) {
  fs::create_directories(APath.parent_path());
  std::ofstream(APath) << AText;
}

}  // namespace

TEST(Layering, TheTreeKeepsItsLayers) {
  const char* source = std::getenv("QUENDAL_SOURCE_DIR");
  ASSERT_NE(source, nullptr) << "QUENDAL_SOURCE_DIR is set by ctest";
  ASSERT_TRUE(fs::exists(fs::path(source) / "src" / "base"));
  const auto violations = CheckLayering(source);
  std::string all;
  for (const auto& v : violations) all += v + "\n";
  EXPECT_TRUE(violations.empty()) << all;
}

TEST(Layering, PlantedViolationsAreReportedByFileAndLine) {
  const fs::path root = fs::temp_directory_path() / ("quendal_layering_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  fs::remove_all(root);
  Write(root / "src/collector/fine.cpp", "#include \"collector/fine.h\"\n#include \"base/mul_div.h\"\n#include <vector>\n");
  Write(root / "src/collector/upward.cpp", "// reaches up\n#include \"monitors/grid_container.h\"\n");
  Write(root / "src/render/bare.h", "#pragma once\n#include \"bitmap32.h\"\n");
  Write(root / "src/widgets/gauge.cpp", "#include <string>\n#include <Windows.h>\n");
  Write(root / "src/widgets/gauge_win32.cpp", "#include <windows.h>\n");
  Write(root / "src/app/uses_sim.cpp", "#include \"sim/profiles.h\"\n");
  Write(root / "src/app/CMakeLists.txt", "# sim is a tool\nquendal_layer(app PUBLIC ui sim)\ntarget_link_libraries(quendal_app PRIVATE quendal_sim)\n");
  Write(root / "tools/sim/profiles.cpp", "#include \"app/main_form.h\"\n");
  Write(root / "tools/sensorfeed/main.cpp", "#include \"sim/profiles.h\"\n#include \"unknown/x.h\"\n");

  auto violations = CheckLayering(root);
  std::sort(violations.begin(), violations.end());
  const std::vector<std::string> expected = {
      "src/app/CMakeLists.txt:2: a product library links the simulated machine",
      "src/app/CMakeLists.txt:3: a product library links the simulated machine",
      "src/app/uses_sim.cpp:1: includes sim/profiles.h from sim, a layer above app",
      "src/collector/upward.cpp:2: includes monitors/grid_container.h from monitors, a layer above collector",
      "src/render/bare.h:2: \"bitmap32.h\" is not layer-qualified",
      "src/widgets/gauge.cpp:2: includes the Win32 header <windows.h> in a file not named *_win32",
      "tools/sensorfeed/main.cpp:2: \"unknown/x.h\" names no layer",
  };
  EXPECT_EQ(violations, expected);
  fs::remove_all(root);
}
