// The combo-box composite that the skin engine derives from the committed pictures:
// the text area must stay cut out and the button, its edge and the arrow must show.
#include <gtest/gtest.h>

#include <filesystem>

#include "tools/skingen/ImageFiles.h"
#include "tools/skingen/IniText.h"
#include "tools/skingen/Preview.h"

namespace vx::skingen {
namespace {

namespace fs = std::filesystem;
const fs::path kSkin = fs::path(VX_TEST_SOURCE_DIR) / "assets" / "skin";

Image load(const std::string& file) {
  const auto img = decodeBmp(readFile(kSkin / file));
  if (!img) {
    ADD_FAILURE() << file;
    return Image::filled(1, 1, 0);
  }
  return *img;
}

class ComboDerivation : public ::testing::TestWithParam<int> {};

// Button widths: Windows gives a 17-pixel arrow width, Wine 16.
TEST_P(ComboDerivation, TextAreaIsCutOutAndTheButtonShows) {
  const int B = GetParam();
  const Bytes iniBytes = readFile(kSkin / "vexlo.ini");
  const IniText ini(std::string(iniBytes.begin(), iniBytes.end()));
  const Image sunk = load(ini.text("SunkEdge", "Image"));
  const Image button = load(ini.text("ComboButton", "Image"));
  const Image arrows = load(ini.text("ExtraImages", "Image"));
  ComboParts parts;
  parts.sunk = &sunk;
  parts.sunkMargins = {ini.integer("SunkEdge", "LeftWidth", 0), ini.integer("SunkEdge", "TopHeight", 0),
                       ini.integer("SunkEdge", "RightWidth", 0), ini.integer("SunkEdge", "BottomHeight", 0)};
  parts.sunkTrans = ini.integer("SunkEdge", "Trans", 0) != 0;
  parts.button = &button;
  parts.buttonMargins = {ini.integer("ComboButton", "LeftWidth", 0), ini.integer("ComboButton", "TopHeight", 0),
                         ini.integer("ComboButton", "RightWidth", 0), ini.integer("ComboButton", "BottomHeight", 0)};
  parts.arrows = &arrows;
  const Image strip = deriveComboStrip(parts, B);
  ASSERT_EQ(strip.width(), 200);
  ASSERT_EQ(strip.height(), 21);
  for (int k = 0; k < 4; ++k) {
    const int x0 = 50 * k;
    EXPECT_EQ(strip.colour(x0 + 10, 10), kMagenta) << "text area of cell " << k;
    // The outer edge of the box is drawn on the left, top and bottom.
    EXPECT_NE(strip.colour(x0, 10), kMagenta) << k;
    EXPECT_NE(strip.colour(x0 + 10, 0), kMagenta) << k;
    EXPECT_NE(strip.colour(x0 + 10, 20), kMagenta) << k;
    // The button face fills the right part between its edges.
    EXPECT_NE(strip.colour(x0 + 50 - B + 2, 4), kMagenta) << k;
    // The arrow sits in the middle of the button: pixels there differ from the face.
    // (The face is a vertical gradient: compare with the face pixel of the same row.)
    int ink = 0;
    for (int y = 6; y < 15; ++y)
      for (int x = x0 + 50 - B + B / 2 - 4; x <= x0 + 50 - B + B / 2 + 4; ++x)
        ink += strip.colour(x, y) != strip.colour(x0 + 50 - B + 2, y);
    EXPECT_GE(ink, 6) << "no arrow in cell " << k;
  }
  // The arrow cells cut from the composite hold the arrow, not the cut-out text area.
  const Image arrow = deriveComboArrow(strip, 4);
  ASSERT_EQ(arrow.width(), 68);
  for (int k = 0; k < 4; ++k) {
    int magenta = 0;
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 17; ++x) magenta += arrow.colour(17 * k + x, y) == kMagenta;
    EXPECT_LT(magenta, 17 * 17 / 2) << k;
  }
}

INSTANTIATE_TEST_SUITE_P(ArrowWidths, ComboDerivation, ::testing::Values(18, 19));

}  // namespace
}  // namespace vx::skingen
