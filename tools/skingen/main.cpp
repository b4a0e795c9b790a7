// skingen: draws the program's skin and pictures.
//
//   skingen --root DIR              write assets/skin, assets/resources and assets/app under DIR
//   skingen --banner FILE.bmp       write the banner's graphic (the name is added by ImageMagick)
//   skingen --preview FILE.bmp      write the sheet of every skin element and a mock window
//
// tools/skingen/regenerate.sh runs all three and converts the banner and the sheet.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/skingen/AppArt.h"
#include "tools/skingen/Generator.h"
#include "tools/skingen/Preview.h"

int main(int argc, char** argv) {
  using namespace vx::skingen;
  const Theme theme;
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: skingen [--root DIR] [--banner FILE.bmp] [--preview FILE.bmp]\n");
    return 2;
  }
  try {
    for (int i = 1; i + 1 < argc; i += 2) {
      const std::string option = argv[i];
      const std::string value = argv[i + 1];
      if (option == "--root") {
        writeAll(generateAll(theme), value);
      } else if (option == "--banner") {
        writeFile(value, encodeBmp24(drawBannerBase(theme.palette)));
      } else if (option == "--preview") {
        writeFile(value, encodeBmp24(drawPreview(theme)));
      } else {
        std::fprintf(stderr, "skingen: unknown option %s\n", option.c_str());
        return 2;
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
  return 0;
}
