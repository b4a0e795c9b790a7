// Loading of the skin model from a skin definition and its archive: the section
// loaders, the bitmap lookup, the colours and the pictures the loader derives itself
// (the combo strips, the combo arrow and the toolbar gradient).

#include "skin/data/SkinModel.h"

#include <algorithm>
#include <cstring>

#include "framework/Classes.h"
#include "framework/SysUtils.h"
#include "skin/data/ElementDraw.h"
#include "skin/data/ElementLayout.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinRead.h"

namespace vx {

namespace {

std::string UpperAscii(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

void ClearBitmap(TBitmap& bitmap) { bitmap.Assign(TBitmap()); }

// A section name that makes a title-bar button (before the hidden-button test).
bool IsButtonSectionName(const std::string& upper) {
    return StartsWith(upper, "BUTTON") && upper != "BUTTON" && upper != "BUTTONS" && upper != "BUTTON.RADIO" &&
           upper != "BUTTON.CHECKBOX";
}

// Frames of a check or radio strip whose count the skin leaves at 0: cells are 13
// pixels wide in strips lower than 16 pixels, 16 otherwise; never fewer than 4.
std::int32_t StripFrameCount(std::int32_t given, const TBitmap& strip) {
    if (given != 0)
        return given;
    const int cell = strip.GetHeight() < 16 ? 13 : 16;
    return std::max(4, strip.GetWidth() / cell);
}

// The system button frame rule for a button without a "frame" key.
std::int32_t ShapeFrameCount(const TBitmap& bitmap, std::int32_t action) {
    std::int32_t frames = 6;
    if (!bitmap.GetEmpty())
        // width / height <= 3.8, in integers
        frames = static_cast<std::int64_t>(bitmap.GetWidth()) * 10 <= static_cast<std::int64_t>(bitmap.GetHeight()) * 38
                     ? 3
                     : 6;
    if (action < 0)
        frames = 6;
    return frames;
}

// --- Pixel work on 24-bit bitmaps for the derived pictures ---------------------------------

std::uint8_t* Pixel(TBitmap& b, int x, int y) { return static_cast<std::uint8_t*>(b.ScanLine(y)) + 3 * x; }

// A 24-bit copy of `source`.
void Copy24(TBitmap& out, const TBitmap& source) {
    out.Assign(source);
    if (!out.GetEmpty() && out.GetPixelFormat() != pf24bit)
        out.SetPixelFormat(pf24bit);
}

// Fills `r` (clipped to the bitmap) of a 24-bit bitmap with a plain colour.
void FillSolid(TBitmap& b, const TLayoutRect& r, TColour c) {
    const int left = std::max(0, r.Left), right = std::min(b.GetWidth(), r.Right);
    const int top = std::max(0, r.Top), bottom = std::min(b.GetHeight(), r.Bottom);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            std::uint8_t* p = Pixel(b, x, y);
            p[0] = static_cast<std::uint8_t>(BlueOf(c));
            p[1] = static_cast<std::uint8_t>(GreenOf(c));
            p[2] = static_cast<std::uint8_t>(RedOf(c));
        }
}

// Copies `from` (a rectangle of the 24-bit `source`) to (x, y) of the 24-bit `dest`,
// both sides clipped to their bitmaps.
void CopyPixels(TBitmap& dest, int x, int y, TBitmap& source, const TLayoutRect& from) {
    for (int sy = from.Top; sy < from.Bottom; ++sy) {
        const int dy = y + sy - from.Top;
        if (sy < 0 || sy >= source.GetHeight() || dy < 0 || dy >= dest.GetHeight())
            continue;
        for (int sx = from.Left; sx < from.Right; ++sx) {
            const int dx = x + sx - from.Left;
            if (sx < 0 || sx >= source.GetWidth() || dx < 0 || dx >= dest.GetWidth())
                continue;
            std::memcpy(Pixel(dest, dx, dy), Pixel(source, sx, sy), 3);
        }
    }
}

TMargins MarginsOf(const TDataSkinObject& e) { return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }

// The plain colour of pixel (x, y).
TColour PixelAt(const TBitmap& bitmap, int x, int y) {
    TBitmap b;
    Copy24(b, bitmap);
    const std::uint8_t* p = Pixel(b, x, y);
    return MakeColour(p[2], p[1], p[0]);
}

}  // namespace

// One load: the readers, the section list and the model being filled.
class TSkinModel::TLoader {
public:
    TLoader(TSkinModel& model, const TQuickIni& ini, const TSkinReader& archive, const TSkinLoadOptions& options)
        : m_(model), ini_(ini), archive_(archive), options_(options) {}

    void Run();

private:
    std::int32_t Int(std::string_view section, std::string_view key, std::int32_t def) const {
        return ini_.ReadInteger(section, key, def);
    }
    std::string Str(std::string_view section, std::string_view key) const {
        return ini_.ReadString(section, key, "");
    }
    TColour Colour(std::string_view section, std::string_view key, TColour def) const {
        return ColourFromText(Str(section, key), def);
    }
    void Bitmap(TBitmap& target, const std::string& path) const { LoadBitmap(archive_, target, path); }
    // "Style" and the four margins, read alike by every image-style loader.
    void StyleAndMargins(TDataSkinObject& e, const char* section) const {
        e.Style = Int(section, "Style", 0);
        e.LeftWidth = Int(section, "LeftWidth", 0);
        e.RightWidth = Int(section, "RightWidth", 0);
        e.TopHeight = Int(section, "TopHeight", 0);
        e.BottomHeight = Int(section, "BottomHeight", 0);
    }

    void LoadBorders();
    void LoadBorder(TDataSkinBorder& border, const std::string& n, bool vertical);
    void LoadColours();
    void LoadSysButtons();
    void LoadButtons();
    void LoadTitle();

    template <class T>
    std::unique_ptr<T> ImageElement(const char* section, bool readFrame);
    std::unique_ptr<TDataSkinObject> Image(const char* section) { return ImageElement<TDataSkinObject>(section, true); }
    std::unique_ptr<TDataSkinBorder> BorderImage(const char* section, const char* secondKey);
    std::unique_ptr<TDataSkinBorder> LoadProgress();
    std::unique_ptr<TDataSkinBoxLabel> LoadGroupBox();
    std::unique_ptr<TDataSkinObject> LoadMenuBar();
    std::unique_ptr<TDataSkinObject> ResourceTrack(const wchar_t* name) const;

    void SetFrameCounts();
    void DeriveCombo();
    void DeriveComboArrow();
    void DeriveToolbar();
    void SampleTitleColour();

    TSkinModel& m_;
    const TQuickIni& ini_;
    const TSkinReader& archive_;
    const TSkinLoadOptions& options_;
    std::vector<std::string> sections_;
};

void TSkinModel::TLoader::Run() {
    // Elements of the image-style loaders go first, so a section the new skin lacks
    // leaves its element absent rather than stale.
    TSkinModel& m = m_;
    ini_.ReadSections(sections_);
    m.SkinName = AnsiToWide(Str("TitlebarSkin", "SkinName"));
    LoadBorders();
    LoadColours();
    LoadSysButtons();
    LoadButtons();
    LoadTitle();

    m.Progress = LoadProgress();
    m.ProgressChunk = Image("Progress.Chunk");
    m.MenuBar = LoadMenuBar();
    m.GroupBoxEdge = Image("GroupBoxEdge");
    m.GroupBox = LoadGroupBox();
    m.Tabs = BorderImage("Tabs", "Border");
    m.StatusBarEdges = Image("StatusBarEdges");
    m.TabPane = Image("Tab.Pane");
    if (m.TabPane) {
        auto cap = [](std::int32_t& v) { v = std::min<std::int32_t>(v, 4); };
        cap(m.TabPane->LeftWidth);
        cap(m.TabPane->TopHeight);
        cap(m.TabPane->RightWidth);
        cap(m.TabPane->BottomHeight);
    }
    m.ToolBars = Image("ToolBars");
    m.ComboButton = BorderImage("ComboButton", "****");
    m.SunkEdge = Image("SunkEdge");

    if (m.ComboButton && !m.ComboButton->Bitmap.GetEmpty()) {
        m.ComboButton->SecondBitmap.Assign(m.ComboButton->Bitmap);
        m.ComboButton->SecondBitmap.SetPixelFormat(pf24bit);
        MirrorHorizontal(m.ComboButton->SecondBitmap);
    }

    m.ExtraImages = Image("ExtraImages");
    m.Headerbar = Image("Headerbar");
    m.MenuItem = Image("MenuItem");
    m.MenuBackground = Image("MenuBackground");
    m.Scrollbar = Image("Scrollbar");
    m.HorzScroll = Image("HorzScroll");
    m.VertScroll = Image("VertScroll");
    m.HorzScrollThumb = Image("HorzScrollThumb");
    m.VertScrollThumb = Image("VertScrollThumb");
    m.TrackbarThumbHorz = Image("Trackbar.ThumbHorz");
    m.TrackbarThumbVert = Image("Trackbar.ThumbVert");
    m.TrackbarThumbLeft = Image("Trackbar.ThumbLeft");
    m.TrackbarThumbRight = Image("Trackbar.ThumbRight");
    m.TrackbarThumbUp = Image("Trackbar.ThumbUp");
    m.TrackbarThumbDown = Image("Trackbar.ThumbDown");
    m.UpDownHorz = BorderImage("UpDown.Horz", "GlyphImage");
    m.UpDownVert = BorderImage("UpDown.Vert", "GlyphImage");
    m.Track = Image("Track");
    m.TrackVert = Image("TRACKVERT");
    if (!m.Track)
        m.Track = ResourceTrack(L"TRACK");
    if (!m.TrackVert)
        m.TrackVert = ResourceTrack(L"TRACKVERT");

    SetFrameCounts();
    DeriveCombo();
    DeriveComboArrow();
    // The toolbar gradient is shaded from the title colour, so the title is sampled
    // first: sampling afterwards would shade a new skin's toolbar with the previous
    // skin's title (or, at the first load, with the start value).
    SampleTitleColour();
    DeriveToolbar();

    m.FaceBrush.Reset(CreateSolidBrush(ColorToColorRef(m.ButtonFaceColour)));
}

// --- Window borders, colours, buttons, title ------------------------------------------

void TSkinModel::TLoader::LoadBorders() {
    LoadBorder(m_.LeftBorder, "Left", true);
    LoadBorder(m_.RightBorder, "Right", true);
    LoadBorder(m_.TopBorder, "Top", false);
    LoadBorder(m_.BottomBorder, "Bottom", false);
}

// Left and Right keep their fixed parts at the top and bottom; Top and Bottom at the
// left and right ends (stored under the same N+"TopHeight" / N+"BotHeight" keys).
void TSkinModel::TLoader::LoadBorder(TDataSkinBorder& b, const std::string& n, bool vertical) {
    const char* p = "Personality";
    const std::int32_t first = Int(p, n + "TopHeight", 0);
    const std::int32_t last = Int(p, n + "BotHeight", 0);
    if (vertical) {
        b.TopHeight = first;
        b.BottomHeight = last;
        b.LeftWidth = b.RightWidth = 0;
    } else {
        b.LeftWidth = first;
        b.RightWidth = last;
        b.TopHeight = b.BottomHeight = 0;
    }
    b.FrameCount = Int(p, n + "Frame", 1);
    b.Tile = std::min<std::int32_t>(Int(p, n + "Stretch", 1), 1);
    b.Trans = Int(p, n + "Trans", 1);
    Bitmap(b.Bitmap, Str(p, n));
}

void TSkinModel::TLoader::LoadColours() {
    TSkinModel& m = m_;
    const char* s = "Colours";
    m.WindowTextColour = Colour(s, "WindowText", SystemColourRef(COLOR_WINDOWTEXT));
    m.ButtonFaceColour = Colour(s, "ButtonFace", SystemColourRef(COLOR_BTNFACE));
    m.ScrollbarColour = Colour(s, "Scrollbar", SystemColourRef(COLOR_SCROLLBAR));
    m.HilightTextColour = Colour(s, "HilightText", SystemColourRef(COLOR_HIGHLIGHTTEXT));
    m.HilightColour = Colour(s, "Hilight", SystemColourRef(COLOR_HIGHLIGHT));
    m.MenubarColour = Colour(s, "Menubar", m.ButtonFaceColour);
    m.MenuColour = Colour(s, "Menu", SystemColourRef(COLOR_MENU));
    m.MenuTextColour = Colour(s, "MenuText", SystemColourRef(COLOR_MENUTEXT));
    m.ButtonTextColour = Colour(s, "ButtonText", SystemColourRef(COLOR_BTNTEXT));
    m.ButtonHilightColour = Colour(s, "ButtonHilight", SystemColourRef(COLOR_BTNHIGHLIGHT));
    m.ButtonlightColour = Colour(s, "Buttonlight", SystemColourRef(COLOR_BTNHIGHLIGHT));
    m.ButtonShadowColour = Colour(s, "ButtonShadow", SystemColourRef(COLOR_BTNSHADOW));
    m.ButtonDkShadowColour = Colour(s, "ButtonDkShadow", SystemColourRef(COLOR_3DDKSHADOW));
    m.MenuBarTextColour = Colour(s, "MenuBarText", SystemColourRef(COLOR_MENUTEXT));
    m.TitleTextActiveColour = Colour(s, "TitleTextActive", SystemColourRef(COLOR_CAPTIONTEXT));
    m.TitleTextNoActiveColour = Colour(s, "TitleTextNoActive", SystemColourRef(COLOR_INACTIVECAPTIONTEXT));

    m.ColourSections.clear();
    for (const std::string& name : sections_) {
        const std::string upper = UpperAscii(name);
        if (StartsWith(upper, "COLOUR") && upper != "COLOURS")
            m.ColourSections.push_back(Colour(name, "color", SystemColourRef(COLOR_WINDOWTEXT)));
    }
    for (int i = 0; i < 10; ++i)
        m.CustomColours[i] = Colour("Customcolors", "Color" + std::to_string(i), clSkinWhite);
}

void TSkinModel::TLoader::LoadSysButtons() {
    TSkinModel& m = m_;
    m.SysButtons.clear();
    std::vector<std::string> kept;
    for (const std::string& name : sections_) {
        if (!IsButtonSectionName(UpperAscii(name)))
            continue;
        // A hidden command button is not a title-bar button.
        if (Int(name, "Action", 0) == -1 && Int(name, "Visibility", -1) != 0)
            continue;
        kept.push_back(name);
    }
    m.SysButtons.reserve(kept.size() + 3);

    bool haveShared = false;
    std::int32_t sharedX = 0, sharedY = 0;
    for (const std::string& name : kept) {
        auto b = std::make_unique<TDataSkinSysButton>(UpperAscii(name));
        b->Action = Int(name, "Action", 0);
        b->Align = Int(name, "Align", 0);
        b->XCoord = Int(name, "Xcoord", 0);
        b->YCoord = Int(name, "Ycoord", 0);
        b->Visibility = Int(name, "Visibility", 0);
        b->Visibility1 = Int(name, "Visibility1", b->Action == -1 ? -1 : 0);
        b->CombineOp = Int(name, "CombineOp", -1);
        b->FrameCount = Int(name, "frame", 0);
        Bitmap(b->Bitmap, Str(name, "ButtonImage"));

        // A help button (action 4) sits where the maximise button shown on normal
        // windows sits; without one it keeps its own place.
        if (b->Action == 1 && b->Visibility == 2) {
            haveShared = true;
            sharedX = b->XCoord;
            sharedY = b->YCoord;
        } else if (b->Action == 4 && haveShared) {
            b->XCoord = sharedX;
            b->YCoord = sharedY;
        }

        if (b->FrameCount == 0) {
            b->FrameCount = ShapeFrameCount(b->Bitmap, b->Action);
            // The system menu buttons draw the window's icon instead.
            if (b->Action == 3 || b->Action == 11)
                ClearBitmap(b->Bitmap);
        }
        m.SysButtons.push_back(std::move(b));
    }

    // The minimise, restore and close buttons of maximised MDI children: four cells
    // each out of one twelve-cell picture.
    TBitmap mdi;
    Bitmap(mdi, Str("MDICONTROLS", "Image"));
    if (!mdi.GetEmpty())
        mdi.SetPixelFormat(pf24bit);
    for (int i = 0; i < 3; ++i) {
        auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
        b->Action = 7 + i;
        b->Align = b->Visibility = b->Visibility1 = 100;
        b->FrameCount = 4;
        if (!mdi.GetEmpty()) {
            const int w = mdi.GetWidth() / 12;
            const int h = mdi.GetHeight();
            b->XCoord = (w + 4) * (3 - i);
            if (w > 0) {
                b->Bitmap.SetPixelFormat(pf24bit);
                b->Bitmap.SetSize(w * 4, h);
                for (int y = 0; y < h; ++y)
                    std::memcpy(b->Bitmap.ScanLine(y), static_cast<const std::uint8_t*>(mdi.ScanLine(y)) + 3 * w * 4 * i,
                                static_cast<std::size_t>(3 * w * 4));
            }
        }
        m.SysButtons.push_back(std::move(b));
    }
}

void TSkinModel::TLoader::LoadButtons() {
    TDataSkinButton& b = m_.Buttons;
    const char* s = "Buttons";
    b.LeftWidth = Int(s, "LeftWidth", 0);
    b.RightWidth = Int(s, "RightWidth", 0);
    b.TopHeight = Int(s, "TopHeight", 0);
    b.BottomHeight = Int(s, "BottomHeight", 0);
    b.Trans = Int(s, "Trans", 0);
    b.Tile = Int(s, "Tile", 0);
    if (b.Tile > 1)
        b.Tile = 0;
    Bitmap(b.Bitmap, Str(s, "Bitmap"));
    Bitmap(b.CheckBitmap, Str(s, "CheckButton"));
    Bitmap(b.RadioBitmap, Str(s, "RadioButton"));
    b.NormalColour = Int(s, "NormalColour", -1);
    b.MouseOverColour = Int(s, "MouseOverColour", -1);
    b.PressedColour = Int(s, "PressedColour", -1);
    b.RadioButtonFrame = Int(s, "RadioButtonFrame", 0);
    b.CheckButtonFrame = Int(s, "CheckButtonFrame", 0);
    b.HasNormalColour2 = !Str(s, "NormalColour2").empty();
    b.HasMouseOverColour2 = !Str(s, "MouseOverColour2").empty();
    b.HasPressedColour2 = !Str(s, "PressedColour2").empty();
    b.NormalColour2 = Colour(s, "NormalColour2", m_.ButtonTextColour);
    b.MouseOverColour2 = Colour(s, "MouseOverColour2", m_.ButtonTextColour);
    b.PressedColour2 = Colour(s, "PressedColour2", m_.ButtonTextColour);
}

void TSkinModel::TLoader::LoadTitle() {
    TDataSkinTitle& t = m_.Title;
    const char* p = "Personality";
    Bitmap(t.Bitmap, Str(p, "TextBack"));
    t.LeftWidth = Int(p, "TextShift", 0);
    t.TopHeight = Int(p, "TextShiftVert", 0);
    t.RightWidth = Int(p, "TextRightClip", 0);
    t.BottomHeight = 0;
    t.TextAlignment = Int(p, "TextAlignment", 0);
    t.Textbackground = Int(p, "Textbackground", 0);
    t.TXTBackleft = Int(p, "TXTBackleft", 0);
    t.TXTBackRight = Int(p, "TXTBackRight", 0);
    t.FontHeight = Int("Fonts", "FontHeight", 14);
    t.ActiveText = clSkinNone;
    t.InActiveText = clSkinNone;
    ColourFromTriple(Int(p, "ActiveTextR", -1), Int(p, "ActiveTextG", -1), Int(p, "ActiveTextB", -1), t.ActiveText);
    ColourFromTriple(Int(p, "InActiveTextR", -1), Int(p, "InActiveTextG", -1), Int(p, "InActiveTextB", -1),
                     t.InActiveText);
}

// --- Image-style loaders ---------------------------------------------------------------

template <class T>
std::unique_ptr<T> TSkinModel::TLoader::ImageElement(const char* s, bool readFrame) {
    const std::string image = Str(s, "Image");
    if (image.empty())
        return nullptr;
    auto e = std::make_unique<T>(s);
    Bitmap(e->Bitmap, image);
    StyleAndMargins(*e, s);
    if (readFrame)
        e->FrameCount = Int(s, "Frame", 0);
    e->Trans = Int(s, "Trans", 0);
    e->Tile = Int(s, "Tile", 0);
    if (e->Tile > 1)
        e->Tile = 0;
    e->NormalColour = Int(s, "NormalColour", -1);
    e->MouseOverColour = Int(s, "MouseOverColour", -1);
    e->PressedColour = Int(s, "PressedColour", -1);
    e->NormalColour2 = Colour(s, "NormalColour2", m_.ButtonTextColour);
    e->MouseOverColour2 = Colour(s, "MouseOverColour2", m_.ButtonTextColour);
    e->PressedColour2 = Colour(s, "PressedColour2", m_.ButtonTextColour);
    return e;
}

std::unique_ptr<TDataSkinBorder> TSkinModel::TLoader::BorderImage(const char* s, const char* secondKey) {
    auto e = ImageElement<TDataSkinBorder>(s, false);
    if (e) {
        const std::string second = Str(s, secondKey);
        if (!second.empty())
            Bitmap(e->SecondBitmap, second);
    }
    return e;
}

std::unique_ptr<TDataSkinBorder> TSkinModel::TLoader::LoadProgress() {
    const char* s = "Progress";
    const std::string image = Str(s, "Bitmap");
    if (image.empty())
        return nullptr;
    auto e = std::make_unique<TDataSkinBorder>(s);
    Bitmap(e->Bitmap, image);
    StyleAndMargins(*e, s);
    e->Trans = Int(s, "Trans", 0);
    e->Tile = std::min<std::int32_t>(Int(s, "Tile", 0), 1);
    return e;
}

std::unique_ptr<TDataSkinBoxLabel> TSkinModel::TLoader::LoadGroupBox() {
    const char* s = "GroupBox";
    auto e = ImageElement<TDataSkinBoxLabel>(s, false);
    if (e) {
        e->BackgroundAlignment = Int(s, "BackgroundAlignment", 0);
        e->BackgroundLeftShift = Int(s, "BackgroundLeftShift", 0);
        e->BackgroundRightShift = Int(s, "BackgroundRightShift", 0);
    }
    return e;
}

std::unique_ptr<TDataSkinObject> TSkinModel::TLoader::LoadMenuBar() {
    const char* p = "Personality";
    const std::string image = Str(p, "menuBar");
    if (image.empty())
        return nullptr;
    auto e = std::make_unique<TDataSkinObject>(p);
    Bitmap(e->Bitmap, image);
    e->TopHeight = e->BottomHeight = 0;
    e->Tile = std::min<std::int32_t>(Int(p, "TileMenu", 1), 1);
    e->LeftWidth = Int(p, "TileLeftMenu", 1);
    e->RightWidth = Int(p, "TileRightMenu", 1);
    return e;
}

std::unique_ptr<TDataSkinObject> TSkinModel::TLoader::ResourceTrack(const wchar_t* name) const {
    auto e = std::make_unique<TDataSkinObject>(WideToAnsi(name));
    HINSTANCE module = options_.ResourceModule ? options_.ResourceModule : GetModuleHandleW(nullptr);
    try {
        e->Bitmap.LoadFromResourceName(module, name);
    } catch (const std::exception&) {
        ClearBitmap(e->Bitmap);  // a program without the resource gets no channel picture
    }
    e->LeftWidth = e->TopHeight = e->RightWidth = e->BottomHeight = 3;
    e->Tile = 0;
    e->FrameCount = 1;
    return e;
}

// --- Frame counts and derived pictures ---------------------------------------------------

void TSkinModel::TLoader::SetFrameCounts() {
    TSkinModel& m = m_;
    auto set = [](auto& e, std::int32_t frames) {
        if (e)
            e->FrameCount = frames;
    };
    m.Title.FrameCount = 2;
    m.Buttons.FrameCount = 5;
    m.Buttons.RadioButtonFrame = StripFrameCount(m.Buttons.RadioButtonFrame, m.Buttons.RadioBitmap);
    m.Buttons.CheckButtonFrame = StripFrameCount(m.Buttons.CheckButtonFrame, m.Buttons.CheckBitmap);
    set(m.MenuBar, 2);
    set(m.Progress, m.Progress && m.Progress->Style != 0 ? 1 : 2);
    set(m.GroupBoxEdge, 2);
    set(m.GroupBox, 1);
    set(m.Tabs, 5);
    set(m.StatusBarEdges, 3);
    set(m.TabPane, 1);
    set(m.ToolBars, 5);
    set(m.ComboButton, 4);
    set(m.SunkEdge, 4);
    set(m.ExtraImages, 5);
    if (m.Headerbar && m.Headerbar->FrameCount == 0)
        m.Headerbar->FrameCount = 5;
    set(m.MenuItem, 5);
    set(m.MenuBackground, 1);
    set(m.Scrollbar, 23);
    set(m.HorzScroll, 4);
    set(m.VertScroll, 4);
    set(m.HorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
    set(m.VertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));
    for (auto* thumb : {&m.TrackbarThumbHorz, &m.TrackbarThumbVert, &m.TrackbarThumbLeft, &m.TrackbarThumbRight,
                        &m.TrackbarThumbUp, &m.TrackbarThumbDown})
        set(*thumb, 5);
    set(m.UpDownHorz, 8);
    set(m.UpDownVert, 8);
    // ProgressChunk, Track and TrackVert keep their "Frame" key, 0 included.
}

// The combo box pictures: the sunken edit frame with the combo button (and its arrow)
// at the right end, one 50 x 21 cell per state; the sunk edge gets the same strip
// mirrored, for right-to-left combo boxes.
void TSkinModel::TLoader::DeriveCombo() {
    TSkinModel& m = m_;
    if (!m.SunkEdge || !m.ComboButton)
        return;
    const int arrow = options_.ScrollArrowWidth >= 0 ? options_.ScrollArrowWidth : GetSystemMetrics(SM_CXHSCROLL);
    const int b = arrow + 2;
    const int n = m.SunkEdge->FrameCount;
    constexpr int cellW = 50, cellH = 21;

    TBitmap strip(cellW * std::max(n, 0), cellH, pf24bit);
    FillSolid(strip, {0, 0, strip.GetWidth(), cellH}, clSkinMagenta);
    TBitmap cell(cellW, cellH, pf24bit);
    const RECT whole{0, 0, cellW, cellH};
    const RECT right{cellW - b, 0, cellW, cellH};
    for (int k = 1; k <= n; ++k) {
        FillSolid(cell, {0, 0, cellW, cellH}, clSkinMagenta);
        HDC dc = cell.GetCanvas()->GetHandle();
        DrawElement(dc, whole, m.SunkEdge->Bitmap, false, false, m.SunkEdge->Trans != 0, n, k,
                    MarginsOf(*m.SunkEdge));
        DrawElement(dc, right, m.ComboButton->Bitmap, false, false, true, m.ComboButton->FrameCount, k,
                    MarginsOf(*m.ComboButton));
        if (m.ExtraImages)
            DrawFrameCentered(dc, right, m.ExtraImages->Bitmap, true, m.ExtraImages->FrameCount, k);
        FillSolid(cell, {2, 2, cellW - 1 - b, 18}, clSkinMagenta);
        CopyPixels(strip, cellW * (k - 1), 0, cell, {0, 0, cellW, cellH});
    }

    TDataSkinBorder& combo = *m.ComboButton;
    combo.Style = 2;
    combo.LeftWidth = 2;
    combo.TopHeight = m.SunkEdge->TopHeight;
    combo.RightWidth = b + 2;
    combo.BottomHeight = m.SunkEdge->BottomHeight;
    combo.Bitmap.Assign(strip);

    MirrorHorizontal(strip);
    m.SunkEdge->Bitmap.Assign(strip);
    m.SunkEdge->LeftWidth = b + 2;
    m.SunkEdge->RightWidth = 2;
}

void TSkinModel::TLoader::DeriveComboArrow() {
    TSkinModel& m = m_;
    m.ComboxArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
    TDataSkinObject& a = *m.ComboxArrow;
    if (!m.ComboButton)
        return;
    if (!m.SunkEdge) {
        a.Bitmap.Assign(m.ComboButton->Bitmap);
        // Magenta takes the face colour as it shows on screen: a system colour is
        // resolved first, or its index would be taken for a red value.
        if (!a.Bitmap.GetEmpty())
            ReplaceMagenta(a.Bitmap, ColorToRGB(m.ButtonFaceColour));
        a.FrameCount = m.ComboButton->FrameCount;
        return;
    }
    if (m.ComboButton->Style != 2)
        return;
    const int n = m.SunkEdge->FrameCount;
    a.FrameCount = n;
    if (n <= 0 || m.ComboButton->Bitmap.GetEmpty())
        return;
    TBitmap source;
    source.Assign(m.ComboButton->Bitmap);
    source.SetPixelFormat(pf24bit);
    a.Bitmap.SetPixelFormat(pf24bit);
    a.Bitmap.SetSize(17 * n, 17);
    FillSolid(a.Bitmap, {0, 0, 17 * n, 17}, clSkinMagenta);
    const int f = source.GetWidth() / n;
    for (int i = 0; i < n; ++i)
        CopyPixels(a.Bitmap, 17 * i, 0, source, {(i + 1) * f - 19, 2, (i + 1) * f - 2, 19});
}

// A soft vertical gradient for toolbars, from a light face colour to a colour drawn
// from the title bar; a strongly coloured title bar is lightened instead of greyed.
void TSkinModel::TLoader::DeriveToolbar() {
    TSkinModel& m = m_;
    // The title sample may be a system colour (no top border): compute on its value.
    const TColour title = ResolveColour(m.SampledTitleColour);
    const TColour top = Blend(m.ButtonFaceColour, clSkinWhite, 150);
    TColour bottom = Blend(0x808080, title, 150);
    const int saturation = SaturationIndex(title);
    if (saturation > 110)
        bottom = Blend(title, clSkinWhite, (225 - saturation) * 25 / 140 + 50);

    m.Toolbar = std::make_unique<TDataSkinObject>("Toolbar");
    TBitmap& bitmap = m.Toolbar->Bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(10, 40);
    const RECT rect{0, 0, 10, 40};
    DrawGradient(bitmap.GetCanvas()->GetHandle(), rect, top, true, bottom);
    GdiFlush();
    m.Toolbar->FrameCount = 1;
}

void TSkinModel::TLoader::SampleTitleColour() {
    TSkinModel& m = m_;
    TBitmap& top = m.TopBorder.Bitmap;
    if (top.GetEmpty()) {
        m.SampledTitleColour = m.ButtonFaceColour;
        return;
    }
    const int frames = std::max(1, m.TopBorder.FrameCount);
    m.SampledTitleColour = PixelAt(top, top.GetWidth() / 3, (top.GetHeight() / frames) / 3);
}

// --- The model -------------------------------------------------------------------------------

TSkinModel::TSkinModel() = default;

TSkinModel::~TSkinModel() = default;

void TSkinModel::LoadDefinition(const TQuickIni& ini, const TSkinReader& archive, const TSkinLoadOptions& options) {
    TLoader(*this, ini, archive, options).Run();
}

std::string TSkinModel::BitmapFileName(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\:");
    const std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
    const std::size_t dot = name.rfind('.');
    if (name.empty() || dot == std::string_view::npos || name.substr(dot) != ".bmp")
        return {};
    return std::string(name);
}

void TSkinModel::LoadBitmap(const TSkinReader& archive, TBitmap& target, std::string_view path) {
    const std::string name = BitmapFileName(path);
    TMemoryStream data;
    if (!name.empty())
        archive.ExtractFile(name, data);
    if (data.GetSize() == 0) {
        ClearBitmap(target);
        return;
    }
    try {
        target.LoadFromStream(data);
    } catch (const std::exception&) {
        ClearBitmap(target);  // damaged picture data: no picture, the skin still loads
    }
}

bool LoadPackedSkin(TSkinModel& model, std::span<const std::uint8_t> packed,
                    std::function<void(const std::wstring&)> onMessage) {
    TSkinReader reader;
    reader.OnMessage = std::move(onMessage);
    if (packed.empty() || !reader.LoadArchive(packed)) return false;
    TMemoryStream text;
    std::string name;
    if (!reader.ExtractFirstMatching(".ini", text, name)) return false;
    TQuickIni ini;
    ini.LoadFromStream(&text);
    model.LoadDefinition(ini, reader);
    return true;
}

}  // namespace vx
