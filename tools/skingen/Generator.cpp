#include "tools/skingen/Generator.h"

#include "tools/skingen/AppArt.h"
#include "tools/skingen/SkinArt.h"

namespace vx::skingen {

std::vector<GeneratedFile> generateAll(const Theme& theme) {
  std::vector<GeneratedFile> out;
  const Skin skin = buildSkin(theme);
  for (const SkinBitmap& b : skin.bitmaps) out.push_back({"assets/skin/" + b.file, encodeBmp24(b.image)});
  out.push_back({"assets/skin/" + skin.iniName, Bytes(skin.iniText.begin(), skin.iniText.end())});

  const Palette& p = theme.palette;
  out.push_back({"assets/resources/track.bmp", encodeBmp24(drawTrackResource(p))});
  out.push_back({"assets/resources/trackvert.bmp", encodeBmp24(drawTrackVertResource(p))});
  out.push_back({"assets/resources/skinmenuglyphs.bmp", encodeBmp1(drawMenuGlyphs())});

  out.push_back({"assets/app/vexlo.ico", encodeIco({drawAppMark(p, 16), drawAppMark(p, 32), drawAppMark(p, 48)})});
  out.push_back({"assets/app/appicon48.bmp", encodeBmp24(drawAppMark(p, 48).flattened(p.window))});
  out.push_back({"assets/app/queuestates.bmp", encodeBmp24(drawQueueStates(p))});
  out.push_back({"assets/app/about.bmp", encodeBmp24(drawAboutGlyph(p))});
  out.push_back({"assets/app/donate.bmp", encodeBmp24(drawDonateGlyph(p))});
  out.push_back({"assets/app/shutdown.bmp", encodeBmp24(drawShutdownPicture(p))});
  return out;
}

void writeAll(const std::vector<GeneratedFile>& files, const std::filesystem::path& root) {
  for (const GeneratedFile& f : files) {
    const std::filesystem::path target = root / std::filesystem::path(f.path);
    std::filesystem::create_directories(target.parent_path());
    writeFile(target, f.bytes);
  }
}

}  // namespace vx::skingen
