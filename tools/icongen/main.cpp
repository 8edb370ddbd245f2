// quendal_icongen FILE: writes the application icon, drawn by the program's
// own code, as an .ico with the sizes Windows asks for (16, 20, 24, 32, 48
// and 256 pixels). The build runs it on the build machine and compiles the
// file into Quendal.exe's resources.
#include <cstdio>
#include <fstream>
#include <vector>

#include "app/action_images.h"
#include "render/ico_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quendal_icongen FILE.ico\n");
    return 2;
  }
  std::vector<TBitmap32> images;
  for (int size : {16, 20, 24, 32, 48, 256}) images.push_back(RenderApplicationIcon(size));
  const std::vector<uint8_t> bytes = EncodeIco(images);
  std::ofstream file(argv[1], std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (bytes.empty() || !file) {
    std::fprintf(stderr, "quendal_icongen: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
