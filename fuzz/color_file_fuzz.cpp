// Colour files for import, built so most lines name a real colour: a line
// that starts with a byte below 0x20 gets that colour's name (by index) in
// its place, so the fuzzer spends its time on what follows a known name.
// Import must count only the lines it applied, keep the gradient in step with
// the table, and an export of the result must import back unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <string>

#include "widgets/color_table.h"

namespace {

std::string TempPath(const char* ATag) {
  return "/tmp/quendal_color_file_fuzz_" + std::string(ATag) + "_" + std::to_string(static_cast<long>(getpid())) + ".txt";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  std::string text;
  int lines = 1;
  bool lineStart = true;
  for (size_t i = 0; i < ASize; ++i) {
    const auto c = static_cast<unsigned char>(AData[i]);
    if (lineStart && c < 0x20 && c != '\n' && c != '\r') {
      // Two bytes of index reach all 104 names.
      const size_t index = (c + (i + 1 < ASize ? AData[++i] : 0u)) % QD_ColorTableCount;
      text += DefaultTranslationTable[index].Name;
      lineStart = false;
      continue;
    }
    text.push_back(static_cast<char>(c));
    lineStart = c == '\n';
    if (c == '\n') ++lines;
  }

  static const std::string in = TempPath("in"), out = TempPath("out");
  std::FILE* f = std::fopen(in.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);

  TQD_ColorTable table;
  const int applied = table.ImportFromFile(in);
  if (applied < 0 || applied > lines) std::abort();
  for (int i = 0; i < QD_TemperatureGradientCount; ++i)
    if (table.TemperatureGradientTable()[static_cast<size_t>(i)] != table.GetColor(67 + i)) std::abort();

  if (table.ExportToFile(out) != QD_ColorTableCount) std::abort();
  TQD_ColorTable back;
  if (back.ImportFromFile(out) != QD_ColorTableCount) std::abort();
  for (int i = 0; i < QD_ColorTableCount; ++i)
    if (back.GetColor(i) != table.GetColor(i)) std::abort();
  return 0;
}
