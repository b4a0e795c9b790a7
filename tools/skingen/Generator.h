// Everything the generator produces, as files relative to the source root, so that the
// tool and the tests share one list.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/skingen/ImageFiles.h"
#include "tools/skingen/Theme.h"

namespace vx::skingen {

struct GeneratedFile {
  std::string path;  // relative, with "/" separators, e.g. "assets/skin/top.bmp"
  Bytes bytes;
};

// The skin (assets/skin), the engine's resources (assets/resources) and the program's
// pictures (assets/app), except the banner JPEG, which is made from drawBannerBase by
// ImageMagick (it adds the product name as text).
std::vector<GeneratedFile> generateAll(const Theme& theme);

// Writes the files under root, creating folders as needed.
void writeAll(const std::vector<GeneratedFile>& files, const std::filesystem::path& root);

}  // namespace vx::skingen
