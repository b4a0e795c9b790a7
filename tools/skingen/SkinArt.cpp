#include "tools/skingen/SkinArt.h"

#include <algorithm>
#include <functional>
#include <sstream>

#include "tools/skingen/AppArt.h"
#include "tools/skingen/Glyphs.h"

namespace vx::skingen {

namespace {

// The five-state order every five-frame control element of this skin follows (the
// push-button order of the painters): normal, pressed, disabled, hot, focused.
enum State { kNormal, kPressed, kDisabled, kHot, kFocused };
constexpr State kFiveStates[] = {kNormal, kPressed, kDisabled, kHot, kFocused};
// Four-state elements (combo parts, scroll arrows, up-down buttons) drop the last one.
constexpr State kFourStates[] = {kNormal, kPressed, kDisabled, kHot};

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

struct Face {
  Rgb border, top, bottom;
};

class SkinPainter {
 public:
  explicit SkinPainter(const Theme& theme) : t_(theme), p_(theme.palette), m_(theme.metrics) {}

  Skin build();

 private:
  // --- shared looks -------------------------------------------------------------
  Rgb titleColourAt(bool active, double y) const {
    const double k = clamp01((y - 1.0) / (m_.titleHeight - 2.0));
    return active ? mix(p_.titleTop, p_.titleBottom, k) : mix(p_.inactiveTop, p_.inactiveBottom, k);
  }

  // Raised control face (buttons, combo button, up-down, trackbar thumb) by state.
  Face raisedFace(State s) const {
    switch (s) {
      case kPressed: return {p_.accent, p_.pressedFill, mix(p_.pressedFill, p_.window, 0.45)};
      case kDisabled: return {p_.borderDisabled, p_.disabledFill, p_.disabledFill};
      case kHot: return {p_.borderHot, p_.window, p_.hotFill};
      case kFocused: return {p_.accent, p_.window, 0xE7ECF1};
      case kNormal:
      default: return {p_.border, p_.window, 0xE7ECF1};
    }
  }

  Rgb glyphColour(State s) const {
    switch (s) {
      case kPressed: return p_.accentDark;
      case kDisabled: return p_.disabledText;
      case kHot:
      case kFocused: return p_.accent;
      case kNormal:
      default: return p_.glyph;
    }
  }

  // Bordered shape: outer in the border colour, inner (one pixel in) with a gradient.
  void bordered(Image& img, const Shape& outer, const Shape& inner, const Face& f, double y0, double y1) const {
    img.fill(outer, f.border);
    img.fill(inner, vertical(y0, y1, f.top, f.bottom));
  }

  Image raisedCell(int w, int h, State s, double tl, double tr, double br, double bl) const {
    Image img(w, h);
    const Face f = raisedFace(s);
    bordered(img, roundRect4(0, 0, w, h, tl, tr, br, bl),
             roundRect4(1, 1, w - 1, h - 1, std::max(0.0, tl - 1), std::max(0.0, tr - 1),
                        std::max(0.0, br - 1), std::max(0.0, bl - 1)),
             f, 1, h - 1);
    if (s != kDisabled && s != kPressed) {
      // A soft light line under the top edge gives the face some lift.
      img.fill(difference(roundRect4(1, 1, w - 1, h - 1, std::max(0.0, tl - 1), std::max(0.0, tr - 1), 0, 0),
                          roundRect4(1, 2, w - 1, h - 1, std::max(0.0, tl - 1), std::max(0.0, tr - 1), 0, 0)),
               p_.window, 0.8);
    }
    if (s == kFocused) {
      img.fill(difference(roundRect4(1, 1, w - 1, h - 1, tl - 1, tr - 1, br - 1, bl - 1),
                          roundRect4(2, 2, w - 2, h - 2, tl - 2, tr - 2, br - 2, bl - 2)),
               p_.accentLight, 0.9);
    }
    return img;
  }

  // --- window frame ---------------------------------------------------------------
  void frame(Skin& skin, std::ostringstream& ini);
  void titleButtons(Skin& skin, std::ostringstream& ini);
  void menus(Skin& skin, std::ostringstream& ini);
  void buttons(Skin& skin, std::ostringstream& ini);
  void panels(Skin& skin, std::ostringstream& ini);
  void combo(Skin& skin, std::ostringstream& ini);
  void scrollbars(Skin& skin, std::ostringstream& ini);
  void trackbars(Skin& skin, std::ostringstream& ini);
  void upDowns(Skin& skin, std::ostringstream& ini);

  Image sysButton(const std::function<Shape(double, double)>& glyph, int w, int frames, bool close) const;

  const Theme& t_;
  const Palette& p_;
  const Metrics& m_;
};

// Writes "key=value" lines; CR LF like every Windows INI file.
class IniWriter {
 public:
  explicit IniWriter(std::ostringstream& out) : out_(out) {}
  IniWriter& section(const std::string& name) {
    if (out_.tellp() > 0) out_ << "\r\n";
    out_ << '[' << name << "]\r\n";
    return *this;
  }
  template <typename T>
  IniWriter& key(const std::string& k, const T& v) {
    out_ << k << '=' << v << "\r\n";
    return *this;
  }
  IniWriter& comment(const std::string& text) {
    out_ << "; " << text << "\r\n";
    return *this;
  }

 private:
  std::ostringstream& out_;
};

std::string colourText(Rgb c) {
  return std::to_string(red(c)) + " " + std::to_string(green(c)) + " " + std::to_string(blue(c));
}
std::string colourTextCommas(Rgb c) {
  return std::to_string(red(c)) + ", " + std::to_string(green(c)) + ", " + std::to_string(blue(c));
}

void margins(IniWriter& w, int l, int t, int r, int b) {
  w.key("LeftWidth", l).key("TopHeight", t).key("RightWidth", r).key("BottomHeight", b);
}

Skin SkinPainter::build() {
  Skin skin;
  skin.iniName = "vexlo.ini";
  std::ostringstream ini;
  IniWriter w(ini);
  w.comment("Vexlo skin: calm light surfaces under a steel-blue title bar.");
  w.comment("Generated by tools/skingen; edit the generator, not this file.");
  w.section("TitlebarSkin").key("SkinName", "Vexlo Calm");
  frame(skin, ini);
  w.section("Fonts").key("FontHeight", 14);

  w.section("Colours")
      .key("WindowText", colourText(p_.text))
      .key("ButtonFace", colourText(p_.face))
      .key("Scrollbar", colourText(p_.track))
      .key("HilightText", colourText(p_.window))
      .key("Hilight", colourText(p_.accent))
      .key("Menubar", colourText(p_.menuBarBottom))
      .key("Menu", colourTextCommas(p_.menu))
      .key("MenuText", colourText(p_.text))
      .key("ButtonText", colourText(p_.text))
      .key("ButtonHilight", colourText(p_.window))
      .key("Buttonlight", colourText(p_.faceLight))
      .key("ButtonShadow", colourText(p_.shadow))
      .key("ButtonDkShadow", colourText(p_.darkShadow))
      .key("MenuBarText", colourText(p_.text))
      .key("TitleTextActive", colourText(p_.titleText))
      .key("TitleTextNoActive", colourText(p_.inactiveText));

  // Free colours of the palette, for painters that want an accent or a tint.
  w.section("Customcolors");
  const Rgb custom[10] = {p_.accent,  p_.accentLight, p_.accentDark, p_.face,      p_.faceLight,
                          p_.hotFill, p_.pressedFill, p_.border,     p_.closeHot,  p_.text};
  for (int i = 0; i < 10; ++i) w.key("Color" + std::to_string(i), colourText(custom[i]));
  w.section("Colour1").key("color", colourText(p_.accent));
  w.section("Colour2").key("color", colourText(p_.face));
  w.section("Colour3").key("color", colourText(p_.text));

  titleButtons(skin, ini);
  buttons(skin, ini);
  menus(skin, ini);
  panels(skin, ini);
  combo(skin, ini);
  scrollbars(skin, ini);
  trackbars(skin, ini);
  upDowns(skin, ini);
  skin.iniText = ini.str();
  return skin;
}

// ---------------------------------------------------------------------------------
// Frame: one window picture per state, cut into the four border strips. Left and right
// keep their frames side by side, top and bottom stacked, as the frame painter reads
// them.
void SkinPainter::frame(Skin& skin, std::ostringstream& ini) {
  const int L = m_.border, T = m_.titleHeight, B = m_.border;
  const int fixedTop = 8;  // title ends kept unscaled: the rounded corner reaches into them
  const int W = L + fixedTop + 16 + fixedTop + L, H = T + 16 + B;
  Image act = renderWindowFrame(t_, W, H, true).keyed(p_.titleOutline);
  Image ina = renderWindowFrame(t_, W, H, false).keyed(p_.inactiveOutline);
  skin.bitmaps.push_back({"left.bmp", stripH({act.crop(0, 0, L, H), ina.crop(0, 0, L, H)})});
  skin.bitmaps.push_back({"right.bmp", stripH({act.crop(W - L, 0, L, H), ina.crop(W - L, 0, L, H)})});
  skin.bitmaps.push_back({"top.bmp", stripV({act.crop(L, 0, W - 2 * L, T), ina.crop(L, 0, W - 2 * L, T)})});
  skin.bitmaps.push_back({"bottom.bmp", stripV({act.crop(L, H - B, W - 2 * L, B), ina.crop(L, H - B, W - 2 * L, B)})});

  // Caption background: a faint pill behind the text, two stacked frames.
  const int tw = 24;
  auto pill = [&](bool active) {
    Image img(tw, T);
    const double lift = active ? 0.13 : 0.22;
    img.fill(roundRect(0.5, 6, tw - 0.5, T - 6, (T - 12) / 2.0),
             [&](double, double y) { return mix(titleColourAt(active, y), p_.window, lift); });
    return img.keyedOn([&](int, int y) { return titleColourAt(active, y + 0.5); });
  };
  skin.bitmaps.push_back({"textback.bmp", stripV({pill(true), pill(false)})});

  // Menu bar: two stacked frames, ends kept, middle stretched.
  auto bar = [&](bool active) {
    Image img = Image::filled(24, m_.menuBarHeight, 0);
    const Rgb top = active ? p_.menuBarTop : p_.faceLight;
    const Rgb bottom = active ? p_.menuBarBottom : p_.face;
    img.fill(roundRect(0, 0, 24, m_.menuBarHeight, 0), vertical(0, m_.menuBarHeight - 1, top, bottom));
    img.hline(0, 24, m_.menuBarHeight - 1, p_.separator);
    return img.flattened(p_.face);
  };
  skin.bitmaps.push_back({"menubar.bmp", stripV({bar(true), bar(false)})});

  IniWriter w(ini);
  w.section("Personality");
  struct Border {
    const char* name;
    const char* file;
    int fixedA, fixedB, trans;
  };
  // Left/Right: fixed top and bottom rows; Top/Bottom: fixed left and right columns.
  const Border borders[] = {{"Left", "left.bmp", T, B, 1},
                            {"Right", "right.bmp", T, B, 1},
                            {"Top", "top.bmp", fixedTop, fixedTop, 1},
                            {"Bottom", "bottom.bmp", 2, 2, 0}};
  for (const Border& b : borders) {
    const std::string n = b.name;
    w.key(n, b.file)
        .key(n + "TopHeight", b.fixedA)
        .key(n + "BotHeight", b.fixedB)
        .key(n + "Frame", 2)
        .key(n + "Stretch", 1)
        .key(n + "Trans", b.trans);
  }
  w.key("TextBack", "textback.bmp")
      .key("TextShift", 28)
      .key("TextShiftVert", 0)
      .key("TextRightClip", 92)
      .key("TextAlignment", 0)
      .key("Textbackground", 1)
      .key("TXTBackleft", 10)
      .key("TXTBackRight", 10)
      .key("ActiveTextR", red(p_.titleText))
      .key("ActiveTextG", green(p_.titleText))
      .key("ActiveTextB", blue(p_.titleText))
      .key("InActiveTextR", red(p_.inactiveText))
      .key("InActiveTextG", green(p_.inactiveText))
      .key("InActiveTextB", blue(p_.inactiveText))
      .key("MenuBar", "menubar.bmp")
      .key("TileMenu", 1)
      .key("TileLeftMenu", 4)
      .key("TileRightMenu", 4);
}

Image SkinPainter::sysButton(const std::function<Shape(double, double)>& glyph, int w, int frames,
                             bool close) const {
  const int h = m_.sysButtonHeight;
  const int y0 = (m_.titleHeight - h) / 2;  // the button's row in the title bar
  std::vector<Image> cells;
  for (int f = 0; f < frames; ++f) {
    if (f >= 4) {  // spare cells of a six-cell strip repeat the normal look
      cells.push_back(cells[0]);
      continue;
    }
    Image img(w, h);
    const bool inactive = f == 3;
    if (f == 1) img.fill(roundRect(1, 0, w - 1, h, 3), close ? p_.closePressed : p_.accentDark);
    if (f == 2) img.fill(roundRect(1, 0, w - 1, h, 3), close ? p_.closeHot : mix(p_.titleTop, p_.window, 0.2));
    img.fill(glyph(w / 2.0, h / 2.0), inactive ? mix(p_.inactiveText, p_.inactiveBottom, 0.15) : p_.titleText);
    cells.push_back(img.keyedOn([&](int, int y) { return titleColourAt(!inactive, y0 + y + 0.5); }));
  }
  return stripH(cells);
}

// Title-bar buttons. Frames (side by side): 1 normal, 2 pressed, 3 hover, 4 inactive
// window or disabled button. Buttons with Align 1 are placed XCoord pixels left of the
// window's right edge.
void SkinPainter::titleButtons(Skin& skin, std::ostringstream& ini) {
  const int bw = m_.sysButtonWidth;
  const double s = 9, pen = 1.35;
  skin.bitmaps.push_back(
      {"close.bmp", sysButton([&](double x, double y) { return glyphClose(x, y, s - 1, pen); }, bw, 4, true)});
  skin.bitmaps.push_back(
      {"maximize.bmp", sysButton([&](double x, double y) { return glyphMaximize(x, y, 8, 1.0); }, bw, 4, false)});
  skin.bitmaps.push_back(
      {"restore.bmp", sysButton([&](double x, double y) { return glyphRestore(x, y, 10, 1.0); }, bw, 4, false)});
  skin.bitmaps.push_back(
      {"minimize.bmp", sysButton([&](double x, double y) { return glyphMinimize(x, y, 8, 1.0); }, bw, 4, false)});
  // Help: no frame key; the strip is wider than 3.8 times its height, so the loader
  // counts six cells (the last two repeat the normal look).
  skin.bitmaps.push_back({"help.bmp", sysButton([&](double x, double y) { return glyphHelp(x, y, 10, 1.5); },
                                                m_.helpButtonWidth, 6, false)});
  skin.bitmaps.push_back(
      {"pin.bmp", sysButton([&](double x, double y) { return glyphPin(x, y, 11, 1.3); }, bw, 4, false)});
  Image icon = drawAppMark(t_.palette, 16).keyedOn([&](int, int y) { return titleColourAt(true, y + 7.5); });
  skin.bitmaps.push_back({"sysicon.bmp", icon});

  // MDI child buttons shown in the menu bar: minimise, restore, close, four cells each
  // (normal, pressed, hover, hover: the bar shows its hover state with the fourth).
  const int cw = 16, ch = 14;
  std::vector<Image> mdi;
  const std::function<Shape(double, double)> glyphs[] = {
      [](double x, double y) { return glyphMinimize(x, y + 0.5, 7, 1.0); },
      [](double x, double y) { return glyphRestore(x, y, 8, 1.0); },
      [](double x, double y) { return glyphClose(x, y, 6, 1.25); }};
  for (const auto& g : glyphs)
    for (int f = 0; f < 4; ++f) {
      Image img(cw, ch);
      if (f == 1) bordered(img, roundRect(0, 0, cw, ch, 2.5), roundRect(1, 1, cw - 1, ch - 1, 1.5),
                           {p_.accent, p_.pressedFill, p_.pressedFill}, 0, ch);
      if (f >= 2) bordered(img, roundRect(0, 0, cw, ch, 2.5), roundRect(1, 1, cw - 1, ch - 1, 1.5),
                           {p_.borderHot, p_.window, p_.hotFill}, 0, ch);
      img.fill(g(cw / 2.0, ch / 2.0), f == 1 ? p_.accentDark : p_.glyph);
      mdi.push_back(img.keyed(mix(p_.menuBarTop, p_.menuBarBottom, 0.5)));
    }
  skin.bitmaps.push_back({"mdicontrols.bmp", stripH(mdi)});

  const int y = (m_.titleHeight - m_.sysButtonHeight) / 2;
  const int close = m_.border + 2 + bw;
  IniWriter w(ini);
  struct Def {
    const char* section;
    const char* comment;
    int action, align, x, yc, visibility, visibility1, frames;  // frames 0: no frame key
    const char* image;
  };
  const Def defs[] = {
      {"Button1", "close", 0, 1, close, y, 0, 0, 4, "close.bmp"},
      {"Button2", "maximise, shown while the window is not maximised", 1, 1, close + bw, y, 2, 6, 4, "maximize.bmp"},
      {"Button3", "restore, shown while the window is maximised", 1, 1, close + bw, y, 1, 6, 4, "restore.bmp"},
      {"Button4", "minimise", 2, 1, close + 2 * bw, y, 6, 0, 4, "minimize.bmp"},
      {"Button5", "context help on dialogs without minimise and maximise boxes, in the maximise button's place",
       4, 1, close + bw, y, 10, 10, 0, "help.bmp"},
      {"Button6", "system menu icon: the window's own small icon is drawn here", 3, 0, 8, (m_.titleHeight - 16) / 2, 0,
       0, 0, "sysicon.bmp"},
      {"Button7", "keep-on-top pin, for windows that ask for it (posts its action code when clicked)", 20, 1,
       close + 3 * bw, y, 1500, 0, 4, "pin.bmp"},
  };
  for (const Def& d : defs) {
    w.section(d.section).comment(d.comment);
    w.key("Action", d.action).key("Align", d.align).key("XCoord", d.x).key("YCoord", d.yc);
    w.key("Visibility", d.visibility).key("Visibility1", d.visibility1).key("CombineOp", -1);
    if (d.frames > 0) w.key("frame", d.frames);
    w.key("ButtonImage", d.image);
  }
  // A command button without a picture of its own: the loader leaves it out.
  w.section("Button8").comment("hidden command button (not loaded)");
  w.key("Action", -1).key("Align", 1).key("XCoord", 0).key("YCoord", 0).key("Visibility", 10);
  w.key("Visibility1", -1).key("CombineOp", -1);
  w.section("MDICONTROLS").comment("twelve cells: minimise, restore, close, four states each");
  w.key("Image", "mdicontrols.bmp");
}

// ---------------------------------------------------------------------------------
// Push buttons, check boxes and radio buttons.
void SkinPainter::buttons(Skin& skin, std::ostringstream& ini) {
  const int bw = 20, bh = 22;
  const double r = m_.controlRadius + 0.5;
  std::vector<Image> faces;
  for (State s : kFiveStates) faces.push_back(raisedCell(bw, bh, s, r, r, r, r).keyed(p_.face));
  skin.bitmaps.push_back({"button.bmp", stripH(faces)});

  // Check and radio strips: 12 cells of 13 x 13: unchecked, checked and mixed, each in
  // the states normal, hot, pressed, disabled.
  const int c = m_.checkSize;
  const State order[] = {kNormal, kHot, kPressed, kDisabled};
  std::vector<Image> checks, radios;
  for (int mark = 0; mark < 3; ++mark) {
    for (State s : order) {
      const bool on = mark == 1;
      Face f;
      if (on) {
        switch (s) {
          case kHot: f = {p_.accent, mix(p_.accentLight, p_.window, 0.15), mix(p_.accent, p_.window, 0.1)}; break;
          case kPressed: f = {p_.accentDark, p_.accent, p_.accentDark}; break;
          case kDisabled: f = {0xAEBBC9, 0xC0CCD8, 0xB6C3D0}; break;
          default: f = {p_.accentDark, p_.accentLight, p_.accent}; break;
        }
      } else {
        switch (s) {
          case kHot: f = {p_.borderHot, p_.window, p_.hotFill}; break;
          case kPressed: f = {p_.accent, p_.pressedFill, p_.pressedFill}; break;
          case kDisabled: f = {p_.borderDisabled, p_.disabledFill, p_.disabledFill}; break;
          default: f = {p_.border, p_.window, 0xF1F4F7}; break;
        }
      }
      const Rgb markColour = s == kDisabled ? 0xB4BFCA : p_.accent;
      Image box(c, c);
      bordered(box, roundRect(0, 0, c, c, 2.5), roundRect(1, 1, c - 1, c - 1, 1.5), f, 1, c - 1);
      if (on) box.fill(glyphTick(c / 2.0, c / 2.0, 9, 1.7), p_.window);
      if (mark == 2) box.fill(roundRect(3.5, 3.5, c - 3.5, c - 3.5, 1), markColour);
      checks.push_back(box.keyed(p_.face));

      Image dot(c, c);
      const double h = c / 2.0;
      bordered(dot, ellipse(h, h, h, h), ellipse(h, h, h - 1, h - 1), f, 1, c - 1);
      if (on) dot.fill(ellipse(h, h, 2.4, 2.4), p_.window);
      if (mark == 2) dot.fill(ellipse(h, h, 2.2, 2.2), markColour, 0.7);
      radios.push_back(dot.keyed(p_.face));
    }
  }
  skin.bitmaps.push_back({"checkbox.bmp", stripH(checks)});
  skin.bitmaps.push_back({"radio.bmp", stripH(radios)});

  IniWriter w(ini);
  w.section("Buttons").comment("five cells: normal, pressed, disabled, hot, focused or default");
  w.key("Bitmap", "button.bmp");
  margins(w, 4, 4, 4, 4);
  w.key("Trans", 1).key("Tile", 0);
  w.key("NormalColour", -1).key("MouseOverColour", -1).key("PressedColour", -1);
  w.key("NormalColour2", colourText(p_.text))
      .key("MouseOverColour2", colourText(p_.accentDark))
      .key("PressedColour2", colourText(p_.accentDark));
  w.comment("check and radio strips: unchecked, checked, mixed x normal, hot, pressed, disabled");
  w.key("CheckButton", "checkbox.bmp").key("CheckButtonFrame", 12);
  w.key("RadioButton", "radio.bmp").key("RadioButtonFrame", 12);
}

// ---------------------------------------------------------------------------------
// Menu item states and the popup border.
void SkinPainter::menus(Skin& skin, std::ostringstream& ini) {
  const int w = 24, h = 20;
  std::vector<Image> items;
  for (int f = 0; f < 5; ++f) {
    Image img(w, h);
    if (f == 1) bordered(img, roundRect(1, 1, w - 1, h - 1, 3), roundRect(2, 2, w - 2, h - 2, 2),
                         {p_.accent, p_.pressedFill, p_.pressedFill}, 2, h - 2);
    if (f == 3) bordered(img, roundRect(1, 1, w - 1, h - 1, 3), roundRect(2, 2, w - 2, h - 2, 2),
                         {0xA9C8E8, 0xE6F0FA, 0xD6E6F6}, 2, h - 2);
    if (f == 4) {
      img.hline(2, w - 2, h / 2 - 1, p_.separator);
      img.hline(2, w - 2, h / 2, p_.window);
    }
    items.push_back(img.keyed(p_.menu));
  }
  skin.bitmaps.push_back({"menuitem.bmp", stripH(items)});

  Image bg = Image::filled(16, 16, p_.menu);
  bg.frameRect(0, 0, 16, 16, p_.menuBorder);
  bg.frameRect(1, 1, 15, 15, p_.window);
  skin.bitmaps.push_back({"menuback.bmp", bg});

  IniWriter wr(ini);
  wr.section("MenuItem").comment("normal, pressed, disabled, selected, separator");
  wr.key("Image", "menuitem.bmp").key("Frame", 5);
  margins(wr, 4, 4, 4, 4);
  wr.key("Trans", 1).key("Tile", 0);
  wr.section("MenuBackground").key("Image", "menuback.bmp").key("Frame", 1);
  margins(wr, 3, 3, 3, 3);
  wr.key("Trans", 0).key("Tile", 0);
}

// ---------------------------------------------------------------------------------
// Progress, group boxes, tabs, status bar, tool bars, header.
void SkinPainter::panels(Skin& skin, std::ostringstream& ini) {
  IniWriter w(ini);
  {
    const int c = 12;
    Image trough(c, c), fill(c, c);
    bordered(trough, roundRect(0, 0, c, c, 2.5), roundRect(1, 1, c - 1, c - 1, 1.5),
             {p_.border, 0xF1F4F7, p_.window}, 1, c - 1);
    bordered(fill, roundRect(0, 0, c, c, 2.5), roundRect(1, 1, c - 1, c - 1, 1.5),
             {p_.accentDark, p_.accentLight, p_.accent}, 1, c - 1);
    fill.fill(roundRect(1, 1, c - 1, c / 2.0, 1.5), p_.window, 0.18);
    skin.bitmaps.push_back({"progress.bmp", stripH({trough.keyed(p_.face), fill.keyed(p_.face)})});
    Image chunk(8, 12);
    chunk.fill(roundRect(0.5, 1, 7.5, 11, 1.5), vertical(1, 11, p_.accentLight, p_.accent));
    skin.bitmaps.push_back({"progresschunk.bmp", chunk.keyed(p_.window)});
    w.section("Progress").comment("two cells: trough, filled bar");
    w.key("Bitmap", "progress.bmp").key("Style", 0);
    margins(w, 3, 3, 3, 3);
    w.key("Trans", 1).key("Tile", 0);
    w.section("Progress.Chunk").key("Image", "progresschunk.bmp").key("Frame", 1);
    margins(w, 2, 2, 2, 2);
    w.key("Trans", 1).key("Tile", 0);
  }
  {
    const int c = 14;
    std::vector<Image> edges;
    for (Rgb edge : {Rgb(0xBFC9D4), Rgb(0xD8DEE5)}) {
      Image img(c, c);
      img.fill(difference(roundRect(0, 0, c, c, 4), roundRect(1, 1, c - 1, c - 1, 3)), edge);
      edges.push_back(img.keyed(p_.face));
    }
    skin.bitmaps.push_back({"groupedge.bmp", stripH(edges)});
    Image label(20, 16);
    bordered(label, roundRect(0, 0, 20, 16, 7.5), roundRect(1, 1, 19, 15, 6.5),
             {0xBFC9D4, p_.faceLight, p_.faceLight}, 0, 16);
    skin.bitmaps.push_back({"grouplabel.bmp", label.keyed(p_.face)});
    w.section("GroupBoxEdge").comment("two cells: enabled, disabled");
    w.key("Image", "groupedge.bmp").key("Frame", 2);
    margins(w, 5, 5, 5, 5);
    w.key("Trans", 1).key("Tile", 0);
    w.section("GroupBox").comment("caption background");
    w.key("Image", "grouplabel.bmp").key("Frame", 1);
    margins(w, 7, 0, 7, 0);
    w.key("Trans", 1).key("Tile", 0);
    w.key("BackgroundAlignment", 0).key("BackgroundLeftShift", 6).key("BackgroundRightShift", 6);
  }
  {
    const int tw = 20, th = 22;
    std::vector<Image> tabs;
    for (State s : kFiveStates) {
      Image img(tw, th);
      const bool selected = s == kPressed || s == kFocused;
      Face f = selected ? Face{p_.border, p_.faceLight, p_.faceLight}
               : s == kDisabled ? Face{p_.borderDisabled, p_.disabledFill, p_.disabledFill}
               : s == kHot      ? Face{p_.borderHot, p_.window, p_.hotFill}
                                : Face{p_.border, p_.faceLight, 0xE3E8EE};
      // The tab runs past its lower edge so it opens into the pane below.
      bordered(img, roundRect4(0, 0, tw, th + 4, 4, 4, 0, 0), roundRect4(1, 1, tw - 1, th + 4, 3, 3, 0, 0), f, 1, th);
      if (selected) img.fill(roundRect4(1, 1, tw - 1, 3.5, 3, 3, 0, 0), p_.accent);
      if (s == kFocused) img.fill(roundRect4(1, 3.5, tw - 1, 4.5, 0, 0, 0, 0), p_.accentLight);
      if (!selected) img.hline(0, tw, th - 1, p_.border);
      tabs.push_back(img.keyed(p_.face));
    }
    skin.bitmaps.push_back({"tabs.bmp", stripH(tabs)});
    Image edge(12, 12);
    edge.fill(difference(roundRect(0, 0, 12, 12, 0), roundRect(1, 1, 11, 11, 0)), p_.border);
    skin.bitmaps.push_back({"tabborder.bmp", edge.keyed(p_.face)});
    Image pane = Image::filled(12, 12, p_.faceLight);
    pane.frameRect(0, 0, 12, 12, p_.border);
    skin.bitmaps.push_back({"tabpane.bmp", pane});
    w.section("Tabs").comment("five cells: normal, selected, disabled, hot, selected with focus");
    w.key("Image", "tabs.bmp").key("Frame", 5);
    margins(w, 5, 5, 5, 2);
    w.key("Trans", 1).key("Tile", 0).key("Border", "tabborder.bmp");
    w.section("Tab.Pane").key("Image", "tabpane.bmp").key("Frame", 1);
    margins(w, 4, 4, 4, 4);
    w.key("Trans", 0).key("Tile", 0);
  }
  {
    const int sw = 16, sh = 20;
    auto barBack = [&] {
      Image img = Image::filled(sw, sh, 0);
      img.fill(roundRect(0, 0, sw, sh, 0), vertical(0, sh, p_.face, mix(p_.face, p_.shadow, 0.12)));
      img.hline(0, sw, 0, p_.separator);
      img.hline(0, sw, 1, p_.window);
      return img;
    };
    Image bar = barBack();
    Image panel = barBack();
    bordered(panel, roundRect(1, 3, sw - 1, sh - 2, 2), roundRect(2, 4, sw - 2, sh - 3, 1),
             {p_.separator, p_.faceLight, p_.faceLight}, 4, sh - 3);
    Image grip = barBack();
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j <= i; ++j) {
        const int x = sw - 4 - 4 * j, y = sh - 4 - 4 * (i - j);
        grip.fillRect(x + 1, y + 1, x + 3, y + 3, p_.window);
        grip.fillRect(x, y, x + 2, y + 2, p_.shadow);
      }
    skin.bitmaps.push_back({"statusbar.bmp", stripH({bar.flattened(p_.face), panel.flattened(p_.face),
                                                     grip.flattened(p_.face)})});
    w.section("StatusBarEdges").comment("three cells: bar, panel, size grip corner");
    w.key("Image", "statusbar.bmp").key("Frame", 3);
    margins(w, 3, 3, 3, 3);
    w.key("Trans", 0).key("Tile", 0);
  }
  {
    const int c = 22;
    std::vector<Image> tools;
    for (State s : kFiveStates) {
      Image img(c, c);
      if (s == kPressed) bordered(img, roundRect(0, 0, c, c, 3.5), roundRect(1, 1, c - 1, c - 1, 2.5),
                                  {p_.accent, p_.pressedFill, p_.pressedFill}, 1, c - 1);
      if (s == kHot) bordered(img, roundRect(0, 0, c, c, 3.5), roundRect(1, 1, c - 1, c - 1, 2.5),
                              {p_.borderHot, p_.window, p_.hotFill}, 1, c - 1);
      if (s == kFocused) bordered(img, roundRect(0, 0, c, c, 3.5), roundRect(1, 1, c - 1, c - 1, 2.5),
                                  {p_.accent, mix(p_.pressedFill, p_.window, 0.5), mix(p_.pressedFill, p_.window, 0.5)},
                                  1, c - 1);
      tools.push_back(img.keyed(p_.face));
    }
    skin.bitmaps.push_back({"toolbar.bmp", stripH(tools)});
    w.section("ToolBars").comment("five cells: flat, pressed, disabled (flat), hot, checked");
    w.key("Image", "toolbar.bmp").key("Frame", 5);
    margins(w, 4, 4, 4, 4);
    w.key("Trans", 1).key("Tile", 0);
  }
  {
    const int hw = 16, hh = 20;
    std::vector<Image> heads;
    for (int f = 0; f < 3; ++f) {
      Image img = Image::filled(hw, hh, 0);
      const Rgb top = f == 2 ? p_.pressedFill : p_.window;
      const Rgb bottom = f == 0 ? 0xECF0F4 : f == 1 ? p_.hotFill : p_.pressedFill;
      img.fill(roundRect(0, 0, hw, hh, 0), vertical(0, hh, top, bottom));
      img.vline(hw - 1, 4, hh - 4, p_.separator);
      img.hline(0, hw, hh - 1, f == 1 ? p_.borderHot : p_.separator);
      if (f == 1) img.hline(0, hw, hh - 2, mix(p_.borderHot, p_.window, 0.5));
      heads.push_back(img.flattened(p_.window));
    }
    skin.bitmaps.push_back({"header.bmp", stripH(heads)});
    w.section("Headerbar").comment("three cells: normal, hot, pressed");
    w.key("Image", "header.bmp").key("Frame", 3);
    margins(w, 2, 2, 3, 3);
    w.key("Trans", 0).key("Tile", 0);
  }
}

// ---------------------------------------------------------------------------------
// Combo box: the sunken box and its drop-down button; the skin engine composes the
// combined strip from them. The arrow glyph comes from ExtraImages.
void SkinPainter::combo(Skin& skin, std::ostringstream& ini) {
  const int h = 21, bw = m_.scrollSize + 2, sw = 24;
  std::vector<Image> buttonsStrip, sunk, arrows;
  for (State s : kFourStates) {
    Image b(bw, h);
    const Face f = raisedFace(s);
    bordered(b, roundRect4(0, 0, bw, h, 0, 3.5, 3.5, 0), roundRect4(1, 1, bw - 1, h - 1, 0, 2.5, 2.5, 0), f, 1, h - 1);
    buttonsStrip.push_back(b.keyed(p_.face));

    Image e(sw, h);
    const Rgb edge = s == kNormal ? p_.border : s == kDisabled ? p_.borderDisabled : p_.accent;
    bordered(e, roundRect(0, 0, sw, h, 3.5), roundRect(1, 1, sw - 1, h - 1, 2.5),
             {edge, s == kDisabled ? p_.disabledFill : p_.window, s == kDisabled ? p_.disabledFill : p_.window}, 1,
             h - 1);
    if (s == kHot) e.fill(difference(roundRect(1, 1, sw - 1, h - 1, 2.5), roundRect(2, 2, sw - 2, h - 2, 1.5)),
                          p_.accentLight, 0.6);
    sunk.push_back(e.keyed(p_.face));
  }
  for (State s : kFiveStates) {
    Image a(9, 9);
    a.fill(polyline({{1.5, 3}, {4.5, 6}, {7.5, 3}}, 1.6), glyphColour(s));
    arrows.push_back(a.keyed(0xF2F5F8));
  }
  skin.bitmaps.push_back({"combobutton.bmp", stripH(buttonsStrip)});
  skin.bitmaps.push_back({"sunkedge.bmp", stripH(sunk)});
  skin.bitmaps.push_back({"arrows.bmp", stripH(arrows)});

  IniWriter w(ini);
  w.section("ComboButton").comment("four cells: normal, pressed, disabled, hot or focused");
  w.key("Image", "combobutton.bmp");
  margins(w, 3, 3, 3, 3);
  w.key("Trans", 1).key("Tile", 0);
  w.section("SunkEdge").comment("four cells, as the combo button");
  w.key("Image", "sunkedge.bmp").key("Frame", 4);
  margins(w, 3, 3, 3, 3);
  w.key("Trans", 1).key("Tile", 0);
  w.section("ExtraImages").comment("drop-down arrow: normal, pressed, disabled, hot, focused");
  w.key("Image", "arrows.bmp").key("Frame", 5);
  margins(w, 0, 0, 0, 0);
  w.key("Trans", 1).key("Tile", 0);
}

// ---------------------------------------------------------------------------------
// Scroll bars: the 23-cell arrow and grip strip, the tracks and the thumbs.
void SkinPainter::scrollbars(Skin& skin, std::ostringstream& ini) {
  const int c = m_.scrollSize;
  std::vector<Image> cells;
  // Cells 1-16: left, right, up, down arrows in the states normal, pressed, disabled, hot.
  const std::function<Shape(double, double)> arrowsByDir[] = {
      [](double x, double y) { return arrowLeft(x, y, 4.5, 8); },
      [](double x, double y) { return arrowRight(x, y, 4.5, 8); },
      [](double x, double y) { return arrowUp(x, y, 8, 4.5); },
      [](double x, double y) { return arrowDown(x, y, 8, 4.5); }};
  for (const auto& arrow : arrowsByDir)
    for (State s : kFourStates) {
      Image img(c, c);
      if (s == kPressed) bordered(img, roundRect(1, 1, c - 1, c - 1, 3), roundRect(2, 2, c - 2, c - 2, 2),
                                  {p_.accent, p_.pressedFill, p_.pressedFill}, 2, c - 2);
      if (s == kHot) bordered(img, roundRect(1, 1, c - 1, c - 1, 3), roundRect(2, 2, c - 2, c - 2, 2),
                              {p_.borderHot, p_.window, p_.hotFill}, 2, c - 2);
      img.fill(arrow(c / 2.0, c / 2.0), glyphColour(s));
      cells.push_back(img.keyed(p_.face));
    }
  // Cells 17-19 and 20-22: grips of the horizontal and vertical thumbs (normal,
  // pressed, hot), drawn over the thumb.
  const Rgb thumbs[] = {p_.thumb, p_.thumbPressed, p_.thumbHot};
  for (int vertical = 0; vertical < 2; ++vertical)
    for (int f = 0; f < 3; ++f) {
      Image img(c, c);
      const Rgb line = f == 0 ? mix(p_.thumb, p_.darkShadow, 0.4) : mix(thumbs[f], p_.window, 0.75);
      for (int i = 0; i < 3; ++i) {
        if (vertical) img.fillRect(6, 6 + 2 * i, 11, 7 + 2 * i, line);
        else img.fillRect(6 + 2 * i, 6, 7 + 2 * i, 11, line);
      }
      cells.push_back(img.keyed(thumbs[f]));
    }
  // Cell 23: the corner between two bars, with a size grip.
  Image corner = Image::filled(c, c, p_.face);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j <= i; ++j) {
      const int x = c - 5 - 4 * j, y = c - 5 - 4 * (i - j);
      corner.fillRect(x + 1, y + 1, x + 3, y + 3, p_.window);
      corner.fillRect(x, y, x + 2, y + 2, p_.shadow);
    }
  cells.push_back(corner);
  skin.bitmaps.push_back({"scrollbar.bmp", stripH(cells)});

  // Tracks: normal, pressed, disabled, hot.
  const int tl = 16;
  std::vector<Image> horz, vert;
  for (State s : kFourStates) {
    const Rgb fill = s == kPressed ? mix(p_.track, p_.accent, 0.15)
                     : s == kDisabled ? p_.disabledFill
                     : s == kHot ? mix(p_.track, p_.shadow, 0.12)
                                 : p_.track;
    Image img = Image::filled(tl, c, fill);
    img.hline(0, tl, 0, mix(fill, p_.shadow, 0.35));
    img.hline(0, tl, c - 1, mix(fill, p_.window, 0.5));
    horz.push_back(img);
    vert.push_back(img.transposed());
  }
  skin.bitmaps.push_back({"horzscroll.bmp", stripH(horz)});
  skin.bitmaps.push_back({"vertscroll.bmp", stripH(vert)});

  // Thumbs: normal, pressed, hot; a rounded bar inset from the track edges.
  std::vector<Image> th, tv;
  for (Rgb colour : thumbs) {
    Image img(20, c);
    img.fill(roundRect(1, 3.5, 19, c - 3.5, 5), colour);
    Image k = img.keyed(p_.track);
    th.push_back(k);
    tv.push_back(k.transposed());
  }
  skin.bitmaps.push_back({"horzthumb.bmp", stripH(th)});
  skin.bitmaps.push_back({"vertthumb.bmp", stripH(tv)});

  IniWriter w(ini);
  w.section("Scrollbar").comment("23 cells: left, right, up, down arrows x normal, pressed, disabled, hot;");
  w.comment("horizontal then vertical thumb grips x normal, pressed, hot; corner");
  w.key("Image", "scrollbar.bmp").key("Frame", 23);
  margins(w, 0, 0, 0, 0);
  w.key("Trans", 1).key("Tile", 0);
  w.section("HorzScroll").comment("track: normal, pressed, disabled, hot");
  w.key("Image", "horzscroll.bmp").key("Frame", 4);
  margins(w, 2, 0, 2, 0);
  w.key("Trans", 0).key("Tile", 0);
  w.section("VertScroll").comment("track: normal, pressed, disabled, hot");
  w.key("Image", "vertscroll.bmp").key("Frame", 4);
  margins(w, 0, 2, 0, 2);
  w.key("Trans", 0).key("Tile", 0);
  w.section("HorzScrollThumb").comment("normal, pressed, hot");
  w.key("Image", "horzthumb.bmp").key("FrameCount", 3);
  margins(w, 6, 0, 6, 0);
  w.key("Trans", 1).key("Tile", 0);
  w.section("VertScrollThumb").comment("normal, pressed, hot");
  w.key("Image", "vertthumb.bmp").key("FrameCount", 3);
  margins(w, 0, 6, 0, 6);
  w.key("Trans", 1).key("Tile", 0);
}

// ---------------------------------------------------------------------------------
// Track bars: the channel and six thumb shapes in five states.
void SkinPainter::trackbars(Skin& skin, std::ostringstream& ini) {
  const int tw = 11, th = 19;
  using Pts = std::vector<std::pair<double, double>>;
  // Shapes drawn upright (11 x 19); the sideways ones are their transposes.
  const Pts down = {{0, 0}, {tw, 0}, {tw, 13.5}, {tw / 2.0, th}, {0, 13.5}};
  const Pts downIn = {{1, 1}, {tw - 1, 1}, {tw - 1, 13.1}, {tw / 2.0, th - 1.45}, {1, 13.1}};
  auto flip = [&](const Pts& pts) {
    Pts out;
    for (auto [x, y] : pts) out.push_back({x, th - y});
    return out;
  };
  auto thumbs = [&](int kind) {  // 0 both ways, 1 pointing down, 2 pointing up
    std::vector<Image> cells;
    for (State s : kFiveStates) {
      Image img(tw, th);
      Face f = raisedFace(s);
      if (s == kNormal) f.border = mix(p_.border, p_.darkShadow, 0.3);
      if (kind == 0) {
        bordered(img, roundRect(0, 0, tw, th, 2.5), roundRect(1, 1, tw - 1, th - 1, 1.5), f, 1, th - 1);
      } else {
        const Pts& o = kind == 1 ? down : flip(down);
        const Pts& i = kind == 1 ? downIn : flip(downIn);
        bordered(img, polygon(o), polygon(i), f, 1, th - 1);
      }
      for (int k = 0; k < 3; ++k) img.hline(3, tw - 3, 6 + 2 * k, mix(f.bottom, f.border, 0.45));
      cells.push_back(img.keyed(p_.face));
    }
    return cells;
  };
  auto transposeAll = [](std::vector<Image> cells) {
    for (Image& c : cells) c = c.transposed();
    return cells;
  };
  const auto both = thumbs(0), pointDown = thumbs(1), pointUp = thumbs(2);
  skin.bitmaps.push_back({"thumbhorz.bmp", stripH(both)});
  skin.bitmaps.push_back({"thumbvert.bmp", stripH(transposeAll(both))});
  skin.bitmaps.push_back({"thumbleft.bmp", stripH(transposeAll(pointUp))});
  skin.bitmaps.push_back({"thumbright.bmp", stripH(transposeAll(pointDown))});
  skin.bitmaps.push_back({"thumbup.bmp", stripH(pointUp)});
  skin.bitmaps.push_back({"thumbdown.bmp", stripH(pointDown)});

  Image channel(16, 5);
  bordered(channel, roundRect(0, 0, 16, 5, 2.5), roundRect(1, 1, 15, 4, 1.5),
           {mix(p_.border, p_.shadow, 0.5), 0xCED6DF, 0xDDE3E9}, 1, 4);
  skin.bitmaps.push_back({"track.bmp", channel.keyed(p_.face)});
  skin.bitmaps.push_back({"trackvert.bmp", channel.keyed(p_.face).transposed()});

  IniWriter w(ini);
  const struct {
    const char* section;
    const char* file;
    bool sideways;
  } defs[] = {{"Trackbar.ThumbHorz", "thumbhorz.bmp", false}, {"Trackbar.ThumbVert", "thumbvert.bmp", true},
              {"Trackbar.ThumbLeft", "thumbleft.bmp", true},  {"Trackbar.ThumbRight", "thumbright.bmp", true},
              {"Trackbar.ThumbUp", "thumbup.bmp", false},     {"Trackbar.ThumbDown", "thumbdown.bmp", false}};
  for (const auto& d : defs) {
    w.section(d.section).comment("normal, pressed, disabled, hot, focused");
    w.key("Image", d.file).key("Frame", 5);
    margins(w, 0, 0, 0, 0);
    w.key("Trans", 1).key("Tile", 0);
  }
  w.section("Track").key("Image", "track.bmp").key("Frame", 1);
  margins(w, 3, 2, 3, 2);
  w.key("Trans", 1).key("Tile", 0);
  w.section("TRACKVERT").key("Image", "trackvert.bmp").key("Frame", 1);
  margins(w, 2, 3, 2, 3);
  w.key("Trans", 1).key("Tile", 0);
}

// ---------------------------------------------------------------------------------
// Up-down buttons: eight cells (first button in four states, then the second), with
// the arrows in a matching eight-cell glyph strip.
void SkinPainter::upDowns(Skin& skin, std::ostringstream& ini) {
  const int w = 17, h = 11;
  std::vector<Image> faces, glyphs;
  for (int second = 0; second < 2; ++second)
    for (State s : kFourStates) {
      const double r = 3.5;
      faces.push_back(raisedCell(w, h, s, second ? 0 : r, second ? 0 : r, second ? r : 0, second ? r : 0)
                          .keyed(p_.face));
      Image g(9, 9);
      g.fill(second ? arrowDown(4.5, 4.5, 7, 4) : arrowUp(4.5, 4.5, 7, 4), glyphColour(s));
      glyphs.push_back(g.keyed(0xF2F5F8));
    }
  auto transposeAll = [](std::vector<Image> cells) {
    for (Image& c : cells) c = c.transposed();
    return cells;
  };
  skin.bitmaps.push_back({"updownvert.bmp", stripH(faces)});
  skin.bitmaps.push_back({"updownvertglyph.bmp", stripH(glyphs)});
  skin.bitmaps.push_back({"updownhorz.bmp", stripH(transposeAll(faces))});
  skin.bitmaps.push_back({"updownhorzglyph.bmp", stripH(transposeAll(glyphs))});

  IniWriter wr(ini);
  wr.section("UpDown.Horz").comment("left button x normal, pressed, disabled, hot; then the right button");
  wr.key("Image", "updownhorz.bmp");
  margins(wr, 3, 3, 3, 3);
  wr.key("Trans", 1).key("Tile", 0).key("GlyphImage", "updownhorzglyph.bmp");
  wr.section("UpDown.Vert").comment("up button x normal, pressed, disabled, hot; then the down button");
  wr.key("Image", "updownvert.bmp");
  margins(wr, 3, 3, 3, 3);
  wr.key("Trans", 1).key("Tile", 0).key("GlyphImage", "updownvertglyph.bmp");
}

}  // namespace

Image renderWindowFrame(const Theme& theme, int W, int H, bool active) {
  const Palette& p = theme.palette;
  const Metrics& m = theme.metrics;
  const int L = m.border, T = m.titleHeight, B = m.border;
  const double R = m.cornerRadius, r = m.bottomRadius;
  const Rgb outline = active ? p.titleOutline : p.inactiveOutline;
  const Rgb top = active ? p.titleTop : p.inactiveTop;
  const Rgb bottom = active ? p.titleBottom : p.inactiveBottom;
  Image img(W, H);
  img.fill(roundRect4(0, 0, W, H, R, R, r, r), outline);
  img.fill(roundRect4(1, 1, W - 1, H - 1, R - 1, R - 1, r - 1, r - 1), [&](double, double y) {
    return y < T ? mix(top, bottom, clamp01((y - 1.0) / (T - 2.0))) : bottom;
  });
  // A light line just under the top outline, following the rounded corners.
  img.fill(difference(roundRect4(1, 1, W - 1, T, R - 1, R - 1, 0, 0), roundRect4(1, 2, W - 1, T, R - 1, R - 1, 0, 0)),
           active ? p.titleHighlight : p.inactiveHighlight, 0.85);
  // The edge around the client area and under the title.
  img.frameRect(L - 1, T - 1, W - L + 1, H - B + 1, mix(outline, bottom, 0.25));
  img.fillRect(L, T, W - L, H - B, p.face);
  return img;
}

Skin buildSkin(const Theme& theme) { return SkinPainter(theme).build(); }

}  // namespace vx::skingen
