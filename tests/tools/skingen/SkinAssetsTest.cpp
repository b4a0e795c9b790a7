// Checks the committed skin (assets/skin) against the generator and against the rules
// by which the skin engine reads it: file names, frame counts, strip layouts and the
// title-bar button sections.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "tools/skingen/Generator.h"
#include "tools/skingen/IniText.h"
#include "tools/skingen/ImageFiles.h"

namespace vx::skingen {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = VX_TEST_SOURCE_DIR;
const fs::path kSkin = kRoot / "assets" / "skin";

std::string iniText() {
  const Bytes b = readFile(kSkin / "vexlo.ini");
  return std::string(b.begin(), b.end());
}

BmpInfo bmp(const std::string& file) {
  const auto info = readBmpInfo(readFile(kSkin / file));
  if (!info) ADD_FAILURE() << file << " is not a readable bitmap";
  return info.value_or(BmpInfo{});
}

class TempFolder {
 public:
  TempFolder() {
    path_ = fs::temp_directory_path() / ("skingen-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

TEST(SkinAssets, CommittedPicturesAreExactlyWhatTheGeneratorDraws) {
  TempFolder tmp;
  const auto files = generateAll(Theme{});
  writeAll(files, tmp.path());
  std::set<std::string> generatedSkin;
  for (const GeneratedFile& f : files) {
    const Bytes fresh = readFile(tmp.path() / f.path);
    EXPECT_EQ(fresh, f.bytes) << f.path << " was not written as generated";
    EXPECT_EQ(readFile(kRoot / f.path), f.bytes)
        << f.path << " differs from the generator's output: run tools/skingen/regenerate.sh";
    if (f.path.rfind("assets/skin/", 0) == 0) generatedSkin.insert(f.path.substr(12));
  }
  // Nothing stale: every file in the skin folder comes from the generator (the packer
  // takes the whole folder).
  for (const auto& entry : fs::directory_iterator(kSkin)) {
    const std::string name = entry.path().filename().string();
    const std::string ext = lowerAscii(entry.path().extension().string());
    if (ext == ".bmp" || ext == ".ini") {
      EXPECT_TRUE(generatedSkin.count(name)) << name << " is not generated";
    }
  }
  // Drawing twice gives the same bytes: nothing depends on time, order or memory.
  const auto again = generateAll(Theme{});
  ASSERT_EQ(again.size(), files.size());
  for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(again[i].bytes, files[i].bytes) << files[i].path;
}

TEST(SkinAssets, OneDefinitionWhoseEveryPictureExistsAsLowerCaseBmp) {
  int inis = 0;
  std::set<std::string> onDisk;
  for (const auto& entry : fs::directory_iterator(kSkin)) {
    const std::string name = entry.path().filename().string();
    if (name.find(".ini") != std::string::npos) ++inis;
    if (entry.path().extension() == ".bmp") onDisk.insert(name);
  }
  EXPECT_EQ(inis, 1) << "the skin engine reads the first file whose name contains .ini";

  const IniText ini(iniText());
  const std::set<std::string> pictureKeys = {"image", "bitmap", "checkbutton", "radiobutton", "buttonimage",
                                             "glyphimage", "border"};
  const std::set<std::string> framePictureKeys = {"textback", "menubar", "left", "right", "top", "bottom"};
  std::set<std::string> named;
  for (const std::string& section : ini.sections())
    for (const std::string& key : lowerAscii(section) == "personality" ? framePictureKeys : pictureKeys) {
      const auto v = ini.value(section, key);
      if (!v || v->empty()) continue;
      named.insert(*v);
      // Only a bare name with the exact extension ".bmp" is found by the loader.
      EXPECT_EQ(v->find_first_of("\\:/"), std::string::npos) << section << "." << key;
      ASSERT_GE(v->size(), 5u) << section << "." << key;
      EXPECT_EQ(v->substr(v->size() - 4), ".bmp") << section << "." << key << " = " << *v;
      EXPECT_TRUE(onDisk.count(*v)) << section << "." << key << " names a missing file " << *v;
      const BmpInfo info = bmp(*v);
      EXPECT_EQ(info.bitsPerPixel, 24) << *v;
    }
  // No dead weight in the archive: every bitmap is named by the definition.
  for (const std::string& f : onDisk) EXPECT_TRUE(named.count(f)) << f << " is not used by the definition";
}

TEST(SkinAssets, EverySectionTheLoaderReadsIsPresent) {
  const IniText ini(iniText());
  for (const char* s :
       {"TitlebarSkin", "Personality", "Fonts", "Colours", "Customcolors", "Buttons", "MDICONTROLS", "Progress",
        "Progress.Chunk", "GroupBoxEdge", "GroupBox", "Tabs", "StatusBarEdges", "Tab.Pane", "ToolBars", "ComboButton",
        "SunkEdge", "ExtraImages", "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll",
        "HorzScrollThumb", "VertScrollThumb", "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
        "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown", "UpDown.Horz", "UpDown.Vert", "Track",
        "TRACKVERT"})
    EXPECT_TRUE(ini.hasSection(s)) << s;
  EXPECT_FALSE(ini.text("TitlebarSkin", "SkinName").empty());
  EXPECT_GT(ini.integer("Fonts", "FontHeight", 0), 0);
  int colourSections = 0;
  for (const std::string& s : ini.sections()) {
    const std::string up = lowerAscii(s);
    if (up.rfind("colour", 0) == 0 && up != "colours") {
      ++colourSections;
      EXPECT_FALSE(ini.text(s, "color").empty()) << s;
    }
  }
  EXPECT_GE(colourSections, 1);
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(ini.text("Customcolors", "Color" + std::to_string(i)).empty()) << i;
  for (const char* k : {"ActiveTextR", "ActiveTextG", "ActiveTextB", "InActiveTextR", "InActiveTextG", "InActiveTextB"}) {
    const int v = ini.integer("Personality", k, -1);
    EXPECT_TRUE(v >= 0 && v <= 255) << k;
  }
}

// Every colour key holds three numbers 0..255, written as "r g b" or "r, g, b" (the
// engine ignores a third number when only two are given, so a short value is a fault).
TEST(SkinAssets, ColoursHaveThreeComponents) {
  const IniText ini(iniText());
  const char* keys[] = {"WindowText", "ButtonFace",  "Scrollbar",     "HilightText",  "Hilight",
                        "Menubar",    "Menu",        "MenuText",      "ButtonText",   "ButtonHilight",
                        "Buttonlight", "ButtonShadow", "ButtonDkShadow", "MenuBarText", "TitleTextActive",
                        "TitleTextNoActive"};
  for (const char* k : keys) {
    const std::string v = ini.text("Colours", k);
    int numbers = 0, current = -1;
    bool ok = true;
    for (char c : v + " ") {
      if (c >= '0' && c <= '9') {
        current = (current < 0 ? 0 : current * 10) + (c - '0');
      } else if (current >= 0) {
        ++numbers;
        ok = ok && current <= 255;
        current = -1;
      }
    }
    EXPECT_EQ(numbers, 3) << k << "=" << v;
    EXPECT_TRUE(ok) << k << "=" << v;
  }
}

struct Strip {
  const char* section;
  const char* key;
  int frames;  // as the loader fixes it (0: from the section's "Frame" key)
  bool stacked;
};

TEST(SkinAssets, StripsDivideEvenlyIntoTheirFrames) {
  const IniText ini(iniText());
  const Strip strips[] = {
      {"Buttons", "Bitmap", 5, false},           {"Progress", "Bitmap", -1, false},
      {"Progress.Chunk", "Image", 0, false},     {"GroupBoxEdge", "Image", 2, false},
      {"GroupBox", "Image", 1, false},           {"Tabs", "Image", 5, false},
      {"Tabs", "Border", 1, false},              {"StatusBarEdges", "Image", 3, false},
      {"Tab.Pane", "Image", 1, false},           {"ToolBars", "Image", 5, false},
      {"ComboButton", "Image", 4, false},        {"SunkEdge", "Image", 4, false},
      {"ExtraImages", "Image", 5, false},        {"Headerbar", "Image", 0, false},
      {"MenuItem", "Image", 5, false},           {"MenuBackground", "Image", 1, false},
      {"Scrollbar", "Image", 23, false},         {"HorzScroll", "Image", 4, false},
      {"VertScroll", "Image", 4, false},         {"Trackbar.ThumbHorz", "Image", 5, false},
      {"Trackbar.ThumbVert", "Image", 5, false}, {"Trackbar.ThumbLeft", "Image", 5, false},
      {"Trackbar.ThumbRight", "Image", 5, false}, {"Trackbar.ThumbUp", "Image", 5, false},
      {"Trackbar.ThumbDown", "Image", 5, false}, {"UpDown.Horz", "Image", 8, false},
      {"UpDown.Horz", "GlyphImage", 8, false},   {"UpDown.Vert", "Image", 8, false},
      {"UpDown.Vert", "GlyphImage", 8, false},   {"Track", "Image", 0, false},
      {"TRACKVERT", "Image", 0, false},          {"MDICONTROLS", "Image", 12, false},
      {"Personality", "TextBack", 2, true},      {"Personality", "MenuBar", 2, true},
  };
  for (const Strip& s : strips) {
    int frames = s.frames;
    if (frames == 0) frames = ini.integer(s.section, "Frame", 0);
    if (frames == 0 && std::string(s.section) == "Headerbar") frames = 5;
    if (frames < 0) frames = ini.integer(s.section, "Style", 0) != 0 ? 1 : 2;
    ASSERT_GT(frames, 0) << s.section << " needs a frame count the painters can divide by";
    const BmpInfo info = bmp(ini.text(s.section, s.key));
    const int along = s.stacked ? info.height : info.width;
    EXPECT_EQ(along % frames, 0) << s.section << "." << s.key << ": " << along << " pixels in " << frames;
    // A "Frame" key, where written, agrees with the count the loader settles on.
    const int key = ini.integer(s.section, "Frame", -1);
    if (key >= 0 && std::string(s.key) == "Image" && s.frames > 0) {
      EXPECT_EQ(key, frames) << s.section;
    }
    // Margins fit inside one cell, or the stretch would have nothing left to grow.
    const int cellW = s.stacked ? info.width : info.width / frames;
    const int cellH = s.stacked ? info.height / frames : info.height;
    EXPECT_LT(ini.integer(s.section, "LeftWidth", 0) + ini.integer(s.section, "RightWidth", 0), cellW + 1)
        << s.section;
    EXPECT_LT(ini.integer(s.section, "TopHeight", 0) + ini.integer(s.section, "BottomHeight", 0), cellH + 1)
        << s.section;
  }
  for (const char* t : {"HorzScrollThumb", "VertScrollThumb"}) {
    const int frames = ini.integer(t, "FrameCount", 3);
    EXPECT_EQ(bmp(ini.text(t, "Image")).width % frames, 0) << t;
  }
  // Check and radio strips: the loader counts 13-pixel cells below 16 pixels of height.
  for (const char* k : {"CheckButton", "RadioButton"}) {
    const BmpInfo info = bmp(ini.text("Buttons", k));
    const int cell = info.height < 16 ? 13 : 16;
    const int frames = ini.integer("Buttons", std::string(k) + "Frame", 0);
    EXPECT_EQ(info.width % cell, 0) << k;
    EXPECT_EQ(frames == 0 ? std::max(4, info.width / cell) : frames, info.width / cell) << k;
  }
}

TEST(SkinAssets, BorderPiecesFitTheFrameMetrics) {
  const IniText ini(iniText());
  const std::string P = "Personality";
  std::map<std::string, BmpInfo> b;
  for (const char* n : {"Left", "Right", "Top", "Bottom"}) {
    const int frames = ini.integer(P, std::string(n) + "Frame", 1);
    ASSERT_EQ(frames, 2) << n << ": an active and an inactive look";
    b[n] = bmp(ini.text(P, n));
    const bool stacked = std::string(n) == "Top" || std::string(n) == "Bottom";
    EXPECT_EQ((stacked ? b[n].height : b[n].width) % frames, 0) << n;
  }
  const int left = b["Left"].width / 2, right = b["Right"].width / 2;
  const int top = b["Top"].height / 2, bottom = b["Bottom"].height / 2;
  EXPECT_EQ(left, right);
  EXPECT_GT(top, left);
  // Side pieces span the whole window height: their fixed top part is the title.
  EXPECT_EQ(ini.integer(P, "LeftTopHeight", 0), top);
  EXPECT_EQ(ini.integer(P, "RightTopHeight", 0), top);
  EXPECT_EQ(ini.integer(P, "LeftBotHeight", 0), bottom);
  EXPECT_LE(ini.integer(P, "LeftTopHeight", 0) + ini.integer(P, "LeftBotHeight", 0), b["Left"].height);
  EXPECT_LE(ini.integer(P, "TopTopHeight", 0) + ini.integer(P, "TopBotHeight", 0), b["Top"].width);
  // The title text background has one frame per title state at the title's height.
  EXPECT_EQ(bmp(ini.text(P, "TextBack")).height, 2 * top);
  // Rounded corners are cut by the window region only where the border is marked Trans.
  const auto leftPic = decodeBmp(readFile(kSkin / ini.text(P, "Left")));
  ASSERT_TRUE(leftPic);
  EXPECT_EQ(leftPic->colour(0, 0), kMagenta);
  EXPECT_EQ(ini.integer(P, "LeftTrans", 1), 1);
  EXPECT_EQ(ini.integer(P, "TopTrans", 1), 1);
}

// The loader's rules for title-bar button sections, applied to the committed skin.
TEST(SkinAssets, TitleBarButtonsLoadWithTheIntendedFrames) {
  const IniText ini(iniText());
  std::vector<std::string> kept;
  bool hiddenCommandSeen = false;
  for (const std::string& s : ini.sections()) {
    std::string up = s;
    std::transform(up.begin(), up.end(), up.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    if (up.rfind("BUTTON", 0) != 0 || up == "BUTTON" || up == "BUTTONS" || up == "BUTTON.RADIO" ||
        up == "BUTTON.CHECKBOX")
      continue;
    if (ini.integer(s, "Action", 0) == -1 && ini.integer(s, "Visibility", -1) != 0) {
      hiddenCommandSeen = true;
      continue;
    }
    kept.push_back(s);
  }
  EXPECT_TRUE(hiddenCommandSeen) << "a hidden command button section is expected (and must be dropped)";
  ASSERT_EQ(kept.size(), 7u) << "close, maximise, restore, minimise, help, system icon, custom";

  const int titleHeight = bmp(ini.text("Personality", "Top")).height / 2;
  std::map<int, int> actions;  // action -> count
  bool maximiseSeen = false;
  for (const std::string& s : kept) {
    const int action = ini.integer(s, "Action", 0);
    ++actions[action];
    const BmpInfo info = bmp(ini.text(s, "ButtonImage"));
    int frames = ini.integer(s, "frame", 0);
    const bool fromShape = frames == 0;
    if (frames == 0) frames = double(info.width) / info.height <= 3.8 ? 3 : 6;
    if (action < 0) frames = 6;
    if (action == 3 || action == 11) {
      // The loader drops this picture in favour of the window's own icon.
      EXPECT_TRUE(fromShape) << s;
      continue;
    }
    EXPECT_EQ(info.width % frames, 0) << s << ": " << info.width << " pixels in " << frames << " frames";
    if (action == 4) {
      EXPECT_TRUE(fromShape) << s << ": the help button relies on the shape rule";
      EXPECT_EQ(frames, 6) << s << ": normal, pressed, hover, inactive and two spare cells";
      EXPECT_TRUE(maximiseSeen) << "help takes the place of a maximise button defined before it";
    } else {
      EXPECT_EQ(frames, 4) << s << ": normal, pressed, hover, inactive";
    }
    if (action == 1 && ini.integer(s, "Visibility", 0) == 2) maximiseSeen = true;
    EXPECT_LE(ini.integer(s, "YCoord", 0) + info.height, titleHeight) << s << " sticks out of the title";
    if (ini.integer(s, "Align", 0) == 1) {
      EXPECT_GE(ini.integer(s, "XCoord", 0), info.width / frames) << s;
    }
  }
  EXPECT_EQ(actions[0], 1);
  EXPECT_EQ(actions[1], 2);  // maximise and restore
  EXPECT_EQ(actions[2], 1);
  EXPECT_EQ(actions[3], 1);
  EXPECT_EQ(actions[4], 1);

  // The MDI child buttons: twelve equal cells, four per button.
  const BmpInfo mdi = bmp(ini.text("MDICONTROLS", "Image"));
  EXPECT_EQ(mdi.width % 12, 0);
}

TEST(SkinAssets, ComboAndScrollPiecesMatchTheSystemMetricsTheyAreDrawnAt) {
  const IniText ini(iniText());
  // The engine lays the combo button into the right B = arrow width + 2 pixels of a
  // 50 x 21 cell, and draws scroll bars b = arrow width thick (16 or 17 pixels).
  const int comboFrames = 4;
  const BmpInfo button = bmp(ini.text("ComboButton", "Image"));
  const BmpInfo sunk = bmp(ini.text("SunkEdge", "Image"));
  EXPECT_EQ(button.height, 21);
  EXPECT_EQ(sunk.height, 21);
  EXPECT_GE(button.width / comboFrames, 18);
  EXPECT_LE(button.width / comboFrames, 19);
  const BmpInfo arrow = bmp(ini.text("ExtraImages", "Image"));
  EXPECT_LE(arrow.width / 5, button.width / comboFrames - 4);
  EXPECT_LE(arrow.height, 21 - 4);
  const BmpInfo bar = bmp(ini.text("Scrollbar", "Image"));
  EXPECT_LE(std::abs(bar.height - 17), 2);
  EXPECT_EQ(bar.width / 23, bar.height);
}

TEST(SkinAssets, SkinStaysSmall) {
  std::uintmax_t total = 0;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(kSkin)) {
    total += fs::file_size(entry.path());
    ++files;
  }
  EXPECT_LT(total, 300u * 1024u);
  EXPECT_LT(files, 64);
}

}  // namespace
}  // namespace vx::skingen

namespace vx::skingen {
namespace {

// Soft edges must be mixed with the colour they sit on, never with the key colour: a
// pinkish pixel next to a cut-out shows as a fringe once magenta is made transparent,
// and one within the region tolerance of the key would even be cut away.
TEST(SkinAssets, NoPictureHasMagentaFringes) {
  const fs::path folders[] = {kSkin, kRoot / "assets" / "resources", kRoot / "assets" / "app"};
  int checked = 0;
  for (const fs::path& folder : folders)
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() != ".bmp") continue;
      const auto img = decodeBmp(readFile(entry.path()));
      ASSERT_TRUE(img) << entry.path();
      ++checked;
      int fringe = 0;
      for (int y = 0; y < img->height(); ++y)
        for (int x = 0; x < img->width(); ++x) {
          const Rgb c = img->colour(x, y);
          if (c == kMagenta) continue;
          if (red(c) > green(c) + 100 && blue(c) > green(c) + 100) ++fringe;
        }
      EXPECT_EQ(fringe, 0) << entry.path().filename();
    }
  EXPECT_GT(checked, 50);
}

}  // namespace
}  // namespace vx::skingen
