#include "tools/skingen/Preview.h"

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>

#include "tools/skingen/IniText.h"
#include "tools/skingen/SkinArt.h"

namespace vx::skingen {

Image stretchElement(const Image& strip, int frames, int frame, bool stacked, Margins m, int w, int h,
                     bool tileMiddle) {
  if (frames < 1 || frame < 1 || frame > frames) throw std::invalid_argument("frame out of range");
  const int cw = stacked ? strip.width() : strip.width() / frames;
  const int ch = stacked ? strip.height() / frames : strip.height();
  const int ox = stacked ? 0 : (frame - 1) * cw;
  const int oy = stacked ? (frame - 1) * ch : 0;
  if (w < m.left + m.right) m.left = m.right = 0;
  if (h < m.top + m.bottom) m.top = m.bottom = 0;
  Image out(w, h);
  const int sx[4] = {0, m.left, cw - m.right, cw};
  const int sy[4] = {0, m.top, ch - m.bottom, ch};
  const int dx[4] = {0, m.left, w - m.right, w};
  const int dy[4] = {0, m.top, h - m.bottom, h};
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) {
      const int sw = sx[i + 1] - sx[i], sh = sy[j + 1] - sy[j];
      const int dw = dx[i + 1] - dx[i], dh = dy[j + 1] - dy[j];
      if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) continue;
      const bool tile = tileMiddle && i == 1 && j == 1;
      for (int y = 0; y < dh; ++y)
        for (int x = 0; x < dw; ++x) {
          const int fx = tile ? x % sw : x * sw / dw;
          const int fy = tile ? y % sh : y * sh / dh;
          out.at(dx[i] + x, dy[j] + y) = strip.at(ox + sx[i] + fx, oy + sy[j] + fy);
        }
    }
  return out;
}

Image deriveComboStrip(const ComboParts& parts, int B) {
  const int n = parts.frames;
  Image strip = Image::filled(50 * n, 21, kMagenta);
  for (int k = 1; k <= n; ++k) {
    Image cell = Image::filled(50, 21, kMagenta);
    blitKeyed(cell, stretchElement(*parts.sunk, n, k, false, parts.sunkMargins, 50, 21, false), 0, 0,
              parts.sunkTrans);
    blitKeyed(cell, stretchElement(*parts.button, 4, k, false, parts.buttonMargins, B, 21, false), 50 - B, 0, true);
    if (parts.arrows) {
      const int aw = parts.arrows->width() / 5, ah = parts.arrows->height();
      blitKeyed(cell, stretchElement(*parts.arrows, 5, k, false, {}, aw, ah, false), 50 - B + (B - aw) / 2,
                (21 - ah) / 2, true);
    }
    cell.fillRect(2, 2, 49 - B, 18, kMagenta);
    strip.copyFrom(cell, 0, 0, 50, 21, 50 * (k - 1), 0);
  }
  return strip;
}

Image deriveComboArrow(const Image& strip, int frames) {
  Image out(17 * frames, 17);
  const int f = strip.width() / frames;
  for (int i = 0; i < frames; ++i) out.copyFrom(strip, (i + 1) * f - 19, 2, 17, 17, 17 * i, 0);
  return out;
}

void blitKeyed(Image& dst, const Image& src, int x, int y, bool keyed) {
  for (int j = 0; j < src.height(); ++j)
    for (int i = 0; i < src.width(); ++i) {
      const Rgb c = src.colour(i, j);
      if (keyed && c == kMagenta) continue;
      dst.set(x + i, y + j, c);
    }
}

namespace {

using Glyph = std::array<std::uint8_t, 7>;

const std::map<char, Glyph>& font() {
  static const std::map<char, Glyph> glyphs = {
      {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
      {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
      {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
      {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
      {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
      {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
      {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
      {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
      {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
      {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
      {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
      {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
      {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}}, {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
      {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
      {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
      {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
      {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
      {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
      {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
      {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}}, {'(', {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}},
      {')', {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}}, {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}},
      {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}}, {'%', {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}},
      {'+', {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}}, {'=', {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00}},
  };
  return glyphs;
}

char upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

}  // namespace

int textWidth(const std::string& text) { return int(text.size()) * 6; }

void drawText(Image& dst, int x, int y, const std::string& text, Rgb colour) {
  for (char ch : text) {
    const auto it = font().find(upper(ch));
    if (it != font().end())
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (it->second[row] & (0x10 >> col)) dst.set(x + col, y + row, colour);
    x += 6;
  }
}

namespace {

struct Element {
  std::string label;
  const Image* strip = nullptr;
  int frames = 1;
  bool stacked = false;
  Margins margins;
  bool keyed = true;
  bool tile = false;
  Rgb backdrop = 0;        // colour behind the cells in the sheet; 0 = the face colour
  Rgb inactiveBackdrop = 0;  // behind the inactive-window frame of title-bar pictures
  int inactiveFrame = 0;     // that frame's number, 0 for none
};

class PreviewPainter {
 public:
  explicit PreviewPainter(const Theme& theme) : theme_(theme), skin_(buildSkin(theme)), ini_(skin_.iniText) {
    // The composite the engine derives (button width 19: a 17-pixel arrow + 2).
    ComboParts parts;
    parts.sunk = &bitmap(ini_.text("SunkEdge", "Image"));
    parts.sunkMargins = marginsOf("SunkEdge");
    parts.sunkTrans = ini_.integer("SunkEdge", "Trans", 0) != 0;
    parts.button = &bitmap(ini_.text("ComboButton", "Image"));
    parts.buttonMargins = marginsOf("ComboButton");
    parts.arrows = &bitmap(ini_.text("ExtraImages", "Image"));
    comboStrip_ = deriveComboStrip(parts, 19);
    comboArrow_ = deriveComboArrow(comboStrip_, 4);
    comboMargins_ = {2, parts.sunkMargins.top, 19 + 2, parts.sunkMargins.bottom};
  }

  Image paint();

 private:
  const Image& bitmap(const std::string& file) const {
    for (const SkinBitmap& b : skin_.bitmaps)
      if (b.file == file) return b.image;
    throw std::runtime_error("no skin bitmap " + file);
  }

  Margins marginsOf(const std::string& s) const {
    return {ini_.integer(s, "LeftWidth", 0), ini_.integer(s, "TopHeight", 0), ini_.integer(s, "RightWidth", 0),
            ini_.integer(s, "BottomHeight", 0)};
  }

  Element element(const std::string& section, const std::string& key, int frames) const {
    Element e;
    e.label = section;
    e.strip = &bitmap(lowerAscii(ini_.text(section, key)));
    e.frames = frames;
    e.margins = marginsOf(section);
    e.keyed = ini_.integer(section, "Trans", 0) != 0;
    e.tile = ini_.integer(section, "Tile", 0) == 1;
    return e;
  }

  std::vector<Element> elements() const;
  void sheetRow(Image& img, const Element& e, int& y) const;
  void mockWindow(Image& img, int x0, int y0, int w, int h, bool active) const;

  // Draws frame k of an element into a rectangle of the target.
  void put(Image& img, const Element& e, int frame, int x, int y, int w, int h) const {
    blitKeyed(img, stretchElement(*e.strip, e.frames, frame, e.stacked, e.margins, w, h, e.tile), x, y, e.keyed);
  }

  const Theme& theme_;
  Skin skin_;
  IniText ini_;
  Image comboStrip_, comboArrow_;  // derived as the engine does, for the sheet
  Margins comboMargins_;
};

std::vector<Element> PreviewPainter::elements() const {
  std::vector<Element> list;
  const std::string P = "Personality";
  for (const char* n : {"Left", "Right", "Top", "Bottom"}) {
    const std::string name = n;
    Element e;
    e.label = "Personality " + name;
    e.strip = &bitmap(ini_.text(P, name));
    e.frames = ini_.integer(P, name + "Frame", 1);
    e.stacked = name == "Top" || name == "Bottom";
    const int a = ini_.integer(P, name + "TopHeight", 0), b = ini_.integer(P, name + "BotHeight", 0);
    e.margins = e.stacked ? Margins{a, 0, b, 0} : Margins{0, a, 0, b};
    e.keyed = true;  // the window region cuts the magenta corners away
    e.tile = ini_.integer(P, name + "Stretch", 1) != 1;
    list.push_back(e);
  }
  Element text;
  text.label = "TextBack";
  text.strip = &bitmap(ini_.text(P, "TextBack"));
  text.frames = 2;
  text.stacked = true;
  text.margins = {ini_.integer(P, "TXTBackleft", 0), 0, ini_.integer(P, "TXTBackRight", 0), 0};
  text.backdrop = theme_.palette.titleBottom;
  text.inactiveBackdrop = theme_.palette.inactiveBottom;
  text.inactiveFrame = 2;
  list.push_back(text);
  Element bar;
  bar.label = "MenuBar";
  bar.strip = &bitmap(ini_.text(P, "MenuBar"));
  bar.frames = 2;
  bar.stacked = true;
  bar.margins = {ini_.integer(P, "TileLeftMenu", 1), 0, ini_.integer(P, "TileRightMenu", 1), 0};
  bar.keyed = false;
  list.push_back(bar);
  for (const std::string& s : ini_.sections()) {
    const std::string up = lowerAscii(s);
    if (up.rfind("button", 0) != 0 || up == "buttons" || !ini_.value(s, "ButtonImage")) continue;
    Element e = element(s, "ButtonImage", 1);
    const int fk = ini_.integer(s, "frame", 0);
    e.frames = fk > 0 ? fk : (e.strip->width() <= 3.8 * e.strip->height() ? 3 : 6);
    // The system-menu icon button shows the window's own icon: one picture.
    if (ini_.integer(s, "Action", 0) == 3) e.frames = 1;
    e.margins = {};
    e.keyed = true;
    e.backdrop = theme_.palette.titleBottom;
    e.inactiveBackdrop = theme_.palette.inactiveBottom;
    e.inactiveFrame = e.frames >= 4 ? 4 : 0;
    e.label = s + " (ACTION " + ini_.text(s, "Action") + ")";
    list.push_back(e);
  }
  Element mdi = element("MDICONTROLS", "Image", 12);
  mdi.keyed = true;  // drawn like the title-bar buttons, magenta transparent
  mdi.backdrop = theme_.palette.menuBarBottom;
  list.push_back(mdi);
  list.push_back(element("Buttons", "Bitmap", 5));
  Element check = element("Buttons", "CheckButton", ini_.integer("Buttons", "CheckButtonFrame", 1));
  check.label = "Buttons CheckButton";
  check.margins = {};
  list.push_back(check);
  Element radio = element("Buttons", "RadioButton", ini_.integer("Buttons", "RadioButtonFrame", 1));
  radio.label = "Buttons RadioButton";
  radio.margins = {};
  list.push_back(radio);
  list.push_back(element("Progress", "Bitmap", ini_.integer("Progress", "Style", 0) ? 1 : 2));
  list.push_back(element("Progress.Chunk", "Image", ini_.integer("Progress.Chunk", "Frame", 1)));
  list.push_back(element("GroupBoxEdge", "Image", 2));
  list.push_back(element("GroupBox", "Image", 1));
  list.push_back(element("Tabs", "Image", 5));
  Element border = element("Tabs", "Border", 1);
  border.label = "Tabs Border";
  list.push_back(border);
  list.push_back(element("Tab.Pane", "Image", 1));
  list.push_back(element("StatusBarEdges", "Image", 3));
  list.push_back(element("ToolBars", "Image", 5));
  list.push_back(element("ComboButton", "Image", 4));
  list.push_back(element("SunkEdge", "Image", 4));
  list.push_back(element("ExtraImages", "Image", 5));
  {
    Element combo;
    combo.label = "ComboButton (derived)";
    combo.strip = &comboStrip_;
    combo.frames = 4;
    combo.margins = comboMargins_;
    list.push_back(combo);
    Element arrow;
    arrow.label = "ComboxArrow (derived)";
    arrow.strip = &comboArrow_;
    arrow.frames = 4;
    list.push_back(arrow);
  }
  const int headerFrames = ini_.integer("Headerbar", "Frame", 0);
  list.push_back(element("Headerbar", "Image", headerFrames != 0 ? headerFrames : 5));
  list.push_back(element("MenuItem", "Image", 5));
  list.push_back(element("MenuBackground", "Image", 1));
  list.push_back(element("Scrollbar", "Image", 23));
  list.push_back(element("HorzScroll", "Image", 4));
  list.push_back(element("VertScroll", "Image", 4));
  list.push_back(element("HorzScrollThumb", "Image", ini_.integer("HorzScrollThumb", "FrameCount", 3)));
  list.push_back(element("VertScrollThumb", "Image", ini_.integer("VertScrollThumb", "FrameCount", 3)));
  for (const char* t : {"Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
                        "Trackbar.ThumbUp", "Trackbar.ThumbDown"})
    list.push_back(element(t, "Image", 5));
  for (const char* u : {"UpDown.Horz", "UpDown.Vert"}) {
    list.push_back(element(u, "Image", 8));
    Element g = element(u, "GlyphImage", 8);
    g.label = std::string(u) + " GlyphImage";
    g.margins = {};
    list.push_back(g);
  }
  list.push_back(element("Track", "Image", ini_.integer("Track", "Frame", 1)));
  list.push_back(element("TRACKVERT", "Image", ini_.integer("TRACKVERT", "Frame", 1)));
  return list;
}

constexpr int kSheetWidth = 1180;
constexpr int kLabelWidth = 200;

// One element: its label, then for each state the cell at its own size and two larger
// sizes, flowing onto further lines when the row is full.
void PreviewPainter::sheetRow(Image& img, const Element& e, int& y) const {
  const Palette& p = theme_.palette;
  const int cw = e.stacked ? e.strip->width() : e.strip->width() / e.frames;
  const int ch = e.stacked ? e.strip->height() / e.frames : e.strip->height();
  const int sizes[3][2] = {{cw, ch}, {cw * 2 + 6, ch + ch / 2}, {cw * 3 + 12, ch * 2}};
  drawText(img, 8, y + 4, e.label, p.text);
  drawText(img, 8, y + 14, std::to_string(e.frames) + (e.stacked ? " STACKED" : " SIDE BY SIDE"), p.shadow);
  int x = kLabelWidth;
  int lineHeight = 24;
  for (int f = 1; f <= e.frames; ++f) {
    const int groupWidth = sizes[0][0] + sizes[1][0] + sizes[2][0] + 24;
    if (x + groupWidth > kSheetWidth && x > kLabelWidth) {
      x = kLabelWidth;
      y += lineHeight;
      lineHeight = 24;
    }
    drawText(img, x, y, std::to_string(f), p.shadow);
    int gx = x + 10;
    const Rgb back = f == e.inactiveFrame ? e.inactiveBackdrop : e.backdrop;
    if (back) img.fillRect(gx - 2, y, gx + sizes[0][0] + sizes[1][0] + sizes[2][0] + 10, y + sizes[2][1] + 4, back);
    for (const auto& s : sizes) {
      put(img, e, f, gx, y + 2, s[0], s[1]);
      gx += s[0] + 4;
      lineHeight = std::max(lineHeight, s[1] + 8);
    }
    x = gx + 10;
  }
  y += lineHeight + 4;
  img.hline(8, kSheetWidth - 8, y - 3, p.separator);
}

void PreviewPainter::mockWindow(Image& img, int x0, int y0, int W, int H, bool active) const {
  const Palette& p = theme_.palette;
  const std::string P = "Personality";
  const auto all = elements();
  auto find = [&](const std::string& label) -> const Element& {
    for (const Element& e : all)
      if (e.label == label) return e;
    throw std::runtime_error("no element " + label);
  };
  const Element& left = find("Personality Left");
  const Element& right = find("Personality Right");
  const Element& top = find("Personality Top");
  const Element& bottom = find("Personality Bottom");
  const int L = left.strip->width() / left.frames, R = right.strip->width() / right.frames;
  const int T = top.strip->height() / top.frames, B = bottom.strip->height() / bottom.frames;
  const int f = active ? 1 : 2;
  // The window region drops magenta pixels of the borders: draw them keyed.
  auto border = [&](const Element& e, int x, int y, int w, int h) {
    blitKeyed(img, stretchElement(*e.strip, e.frames, f, e.stacked, e.margins, w, h, e.tile), x0 + x, y0 + y, true);
  };
  border(left, 0, 0, L, H);
  border(right, W - R, 0, R, H);
  border(bottom, L, H - B, W - L - R, B);
  border(top, L, 0, W - L - R, T);
  img.fillRect(x0 + L, y0 + T, x0 + W - R, y0 + H - B, p.face);

  // Caption with its background pill.
  const std::string caption = "  VEXLO VIDEO CONVERTER V1.3  ";
  const Element& text = find("TextBack");
  const int tx = ini_.integer(P, "TextShift", 0);
  const int tw = textWidth(caption) + text.margins.left + text.margins.right;
  blitKeyed(img, stretchElement(*text.strip, 2, f, true, text.margins, tw, T, false), x0 + tx, y0, true);
  drawText(img, x0 + tx + text.margins.left, y0 + (T - 7) / 2, caption, active ? p.titleText : p.inactiveText);

  // Title-bar buttons by their placement keys.
  for (const Element& e : all) {
    if (e.label.rfind("Button", 0) != 0 || e.label.rfind("Buttons", 0) == 0) continue;
    const std::string section = e.label.substr(0, e.label.find(' '));
    const int action = ini_.integer(section, "Action", 0);
    const int vis = ini_.integer(section, "Visibility", 0);
    if (vis == 1 || vis == 10 || vis >= 1000 || action < 0) continue;  // restore, help, custom
    const int w = e.strip->width() / e.frames;
    const int x = ini_.integer(section, "Align", 0) == 1 ? W - ini_.integer(section, "XCoord", 0)
                                                          : ini_.integer(section, "XCoord", 0);
    const int y = ini_.integer(section, "YCoord", 0);
    const int frame = active ? (action == 0 ? 3 : 1) : std::min(4, e.frames);
    put(img, e, frame, x0 + x, y0 + y, w, e.strip->height());
  }

  // Menu bar.
  const Element& bar = find("MenuBar");
  const int mh = bar.strip->height() / 2;
  put(img, bar, f, x0 + L, y0 + T, W - L - R, mh);
  int mx = x0 + L + bar.margins.left + 4;
  for (const std::string item : {"FILE", "QUEUE", "HELP"}) {
    drawText(img, mx + 5, y0 + T + (mh - 7) / 2, item, p.text);
    mx += textWidth(item) + 10;
  }
  const Element& mdi = find("MDICONTROLS");
  for (int i = 0; i < 3; ++i) {
    const int cw = mdi.strip->width() / 12;
    blitKeyed(img, mdi.strip->crop(cw * 4 * i + (i == 2 ? cw * 3 : 0), 0, cw, mdi.strip->height()),
              x0 + W - R - 6 - (cw + 4) * (3 - i), y0 + T + (mh - mdi.strip->height()) / 2, true);
  }

  // Client controls.
  int cx = x0 + L + 12, cy = y0 + T + mh + 12;
  const Element& button = find("Buttons");
  const char* captions[] = {"NORMAL", "PRESSED", "DISABLED", "HOT", "DEFAULT"};
  for (int s = 1; s <= 5; ++s) {
    put(img, button, s, cx, cy, 76, 25);
    const std::string c = captions[s - 1];
    drawText(img, cx + (76 - textWidth(c)) / 2, cy + 9, c, s == 3 ? p.disabledText : p.text);
    cx += 82;
  }
  cy += 36;
  cx = x0 + L + 12;
  const Element& check = find("Buttons CheckButton");
  const Element& radio = find("Buttons RadioButton");
  const int states[] = {1, 5, 9, 4};
  const char* checkText[] = {"OFF", "ON", "MIXED", "DISABLED"};
  for (int i = 0; i < 4; ++i) {
    put(img, check, states[i], cx, cy, 13, 13);
    drawText(img, cx + 17, cy + 3, checkText[i], i == 3 ? p.disabledText : p.text);
    put(img, radio, states[i] == 9 ? 2 : states[i], cx, cy + 20, 13, 13);
    drawText(img, cx + 17, cy + 23, checkText[i], i == 3 ? p.disabledText : p.text);
    cx += 90;
  }
  cy += 44;
  cx = x0 + L + 12;
  // Combo boxes: the derived composite strip drawn over the whole box, as the engine
  // draws a combo box whose button is at the right.
  const Element& combo = find("ComboButton (derived)");
  for (int s = 1; s <= 4; ++s) {
    img.fillRect(cx + 2, cy + 2, cx + 98, cy + 19, s == 3 ? p.disabledFill : p.window);
    put(img, combo, s, cx, cy, 100, 21);
    drawText(img, cx + 6, cy + 7, "TYPE " + std::to_string(s), s == 3 ? p.disabledText : p.text);
    cx += 110;
  }
  cy += 32;
  cx = x0 + L + 12;
  const Element& progress = find("Progress");
  put(img, progress, 1, cx, cy, 300, 17);
  put(img, progress, 2, cx, cy, 190, 17);
  drawText(img, cx + 306, cy + 5, "63%", p.text);
  // Track bar with a thumb and an up-down.
  const Element& track = find("Track");
  put(img, track, 1, cx + 340, cy + 6, 80, 5);
  const Element& thumb = find("Trackbar.ThumbDown");
  put(img, thumb, 1, cx + 370, cy - 1, 11, 19);
  const Element& ud = find("UpDown.Vert");
  const Element& udg = find("UpDown.Vert GlyphImage");
  for (int b = 0; b < 2; ++b) {
    put(img, ud, b * 4 + 1, cx + 440, cy - 2 + b * 11, 17, 11);
    put(img, udg, b * 4 + 1, cx + 444, cy - 1 + b * 11, 9, 9);
  }
  cy += 30;

  // Tabs over a pane with a list: header, rows and a vertical scroll bar.
  const Element& tabs = find("Tabs");
  const Element& pane = find("Tab.Pane");
  const int paneTop = cy + 22;
  const int paneBottom = y0 + H - B - 24;
  put(img, pane, 1, cx, paneTop - 1, W - L - R - 24, paneBottom - paneTop);
  int tabX = cx + 2;
  for (const std::string t : {"QUEUE", "LOG", "OPTIONS"}) {
    const int tw2 = textWidth(t) + 20;
    const bool sel = t == "QUEUE";
    put(img, tabs, sel ? 2 : (t == "LOG" ? 4 : 1), tabX, sel ? cy : cy + 2, tw2, sel ? 23 : 20);
    drawText(img, tabX + 10, cy + 8, t, p.text);
    tabX += tw2 + 2;
  }
  const int lx = cx + 8, ly = paneTop + 8, lw = W - L - R - 40, lh = paneBottom - paneTop - 16;
  img.fillRect(lx, ly, lx + lw, ly + lh, p.window);
  img.frameRect(lx - 1, ly - 1, lx + lw + 1, ly + lh + 1, p.shadow);
  const Element& header = find("Headerbar");
  const int sb = 17;
  const int cols[] = {200, 80, lw - sb - 280};
  int hx = lx;
  const char* heads[] = {"FILE", "STATUS", "PROGRESS"};
  for (int i = 0; i < 3; ++i) {
    put(img, header, i == 1 ? 2 : 1, hx, ly, cols[i], 20);
    drawText(img, hx + 6, ly + 7, heads[i], p.text);
    hx += cols[i];
  }
  for (int r = 0; r < 4; ++r) {
    const int ry = ly + 24 + r * 18;
    if (ry + 18 > ly + lh) break;
    if (r == 1) img.fillRect(lx, ry - 3, lx + lw - sb, ry + 12, p.accent);
    drawText(img, lx + 6, ry, "C:/VIDEO/CLIP" + std::to_string(r + 1) + ".AVI", r == 1 ? p.window : p.text);
  }
  // Vertical scroll bar: arrows, track, thumb and grip.
  const Element& sbar = find("Scrollbar");
  const Element& vtrack = find("VertScroll");
  const Element& vthumb = find("VertScrollThumb");
  const int sx = lx + lw - sb, sy = ly + 20, sh = lh - 20;
  put(img, vtrack, 1, sx, sy + sb, sb, sh - 2 * sb);
  put(img, sbar, 9, sx, sy, sb, sb);
  put(img, sbar, 16, sx, sy + sh - sb, sb, sb);
  if (sh >= 2 * sb + 56) {  // room for the thumb
    put(img, vthumb, 3, sx, sy + sb + 8, sb, 40);
    put(img, sbar, 22, sx, sy + sb + 8 + 20 - 8, sb, sb);
  }

  // Status bar.
  const Element& status = find("StatusBarEdges");
  const int by = y0 + H - B - 22;
  put(img, status, 1, x0 + L, by, W - L - R, 22);
  put(img, status, 2, x0 + L + 4, by + 1, 200, 20);
  drawText(img, x0 + L + 12, by + 8, "4 FILES QUEUED", p.text);
  put(img, status, 3, x0 + W - R - 16, by + 2, 16, 20);
}

Image PreviewPainter::paint() {
  const Palette& p = theme_.palette;
  const auto list = elements();
  // Measure first: render rows into a tall scratch sheet, then crop.
  Image sheet = Image::filled(kSheetWidth, 6000, p.face);
  drawText(sheet, 8, 8, "VEXLO CALM - EVERY SKIN ELEMENT, EACH STATE AT THREE SIZES", p.text);
  int y = 28;
  for (const Element& e : list) sheetRow(sheet, e, y);
  y += 8;
  drawText(sheet, 8, y, "MOCK WINDOWS (ACTIVE, INACTIVE) ASSEMBLED FROM THE FRAME, BUTTON AND CONTROL PICTURES", p.text);
  y += 16;
  const int mw = 640, mh = 430;
  mockWindow(sheet, 8, y, mw, mh, true);
  mockWindow(sheet, 8 + mw + 16, y + 60, 500, 330, false);
  return sheet.crop(0, 0, kSheetWidth, y + mh + 12);
}

}  // namespace

Image drawPreview(const Theme& theme) { return PreviewPainter(theme).paint(); }

}  // namespace vx::skingen
