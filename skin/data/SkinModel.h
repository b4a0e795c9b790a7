#pragma once
// The in-memory skin model: every element, colour and derived picture that the window
// and control painters read. TSkinModel::LoadDefinition fills it from a skin definition
// (TQuickIni) and the archive holding the bitmaps it names (TSkinReader); painters never
// touch the INI or the archive.
//
// A skin definition never fails on content: a missing section leaves its element absent
// (a null pointer), a missing key takes its default, a missing or unreadable bitmap
// leaves an empty bitmap. An element may therefore exist with an empty bitmap; painters
// treat an empty bitmap as no picture.
//
// Frame counts: some elements keep the count the skin gives, 0 included (ProgressChunk,
// Track and TrackVert without a "Frame" key, a border's N+"Frame" key, a system button's
// "frame" key only when its bitmap makes the shape rule apply). Painters must not divide
// by a frame count without guarding against 0.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Graphics.h"
#include "skin/data/imgutil.h"

namespace vx {

class TQuickIni;
class TSkinReader;

// One picture of the skin with its state frames and four unscaled margins.
class TDataSkinObject {
public:
    TDataSkinObject() = default;
    explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;
    virtual ~TDataSkinObject() = default;

    std::int32_t LeftWidth = 0;
    std::int32_t TopHeight = 0;
    std::int32_t RightWidth = 0;
    std::int32_t BottomHeight = 0;
    TBitmap Bitmap;
    std::int32_t Trans = 0;  // non-zero: magenta pixels are transparent
    std::int32_t Tile = 0;   // 0 or 1 after loading
    std::string Name;        // the section the element was loaded from
    std::int32_t FrameCount = 0;
    std::int32_t Style = 0;
    std::int32_t NormalColour = -1;
    std::int32_t MouseOverColour = -1;
    std::int32_t PressedColour = -1;
    TColour NormalColour2 = SystemColourRef(COLOR_BTNTEXT);
    TColour MouseOverColour2 = SystemColourRef(COLOR_BTNTEXT);
    TColour PressedColour2 = SystemColourRef(COLOR_BTNTEXT);
};

class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap SecondBitmap;  // its INI key depends on the section
};

class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::int32_t TextAlignment = 0;
    std::int32_t Textbackground = 0;
    std::int32_t FontHeight = 14;
    std::int32_t TXTBackleft = 0;
    std::int32_t TXTBackRight = 0;
    TColour ActiveText = clSkinNone;
    TColour InActiveText = clSkinNone;
};

class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    TBitmap CheckBitmap;
    TBitmap RadioBitmap;
    std::int32_t RadioButtonFrame = 0;
    std::int32_t CheckButtonFrame = 0;
    bool HasNormalColour2 = false;
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};

class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::int32_t Action = 0;
    std::int32_t Align = 0;
    std::int32_t XCoord = 0;
    std::int32_t YCoord = 0;
    std::int32_t CombineOp = -1;
    std::int32_t Visibility = 0;
    std::int32_t Visibility1 = 0;
};

class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;
    std::int32_t BackgroundLeftShift = 0;
    std::int32_t BackgroundRightShift = 0;
    std::int32_t BackgroundAlignment = 0;
};

// What a load takes from the running program rather than from the skin.
struct TSkinLoadOptions {
    // Module whose bitmap resources "TRACK" and "TRACKVERT" stand in for a skin without
    // those sections; null means the program itself.
    HINSTANCE ResourceModule = nullptr;
    // Width of a horizontal scroll bar arrow (sizes the derived combo button); a
    // negative value means the system's current metric.
    int ScrollArrowWidth = -1;
};

class TSkinModel {
public:
    TSkinModel();
    ~TSkinModel();
    TSkinModel(const TSkinModel&) = delete;
    TSkinModel& operator=(const TSkinModel&) = delete;

    // Fills every member from the definition and the archive, replacing the previous
    // skin in place. The readers are only used during the call.
    void LoadDefinition(const TQuickIni& ini, const TSkinReader& archive,
                        const TSkinLoadOptions& options = {});

    // Loads the bitmap named by an INI path text into `target`: the file name part
    // (after the last "\" or ":") must end in exactly ".bmp"; it is extracted from the
    // archive ignoring case. Anything else, a missing file or unreadable data leaves
    // `target` empty.
    static void LoadBitmap(const TSkinReader& archive, TBitmap& target, std::string_view path);
    // The file name part that LoadBitmap looks up, or empty when the path names no
    // ".bmp" file.
    static std::string BitmapFileName(std::string_view path);

    // Always present, refilled on every load.
    TDataSkinTitle Title{"Personality"};
    TDataSkinBorder LeftBorder{"Left"};
    TDataSkinBorder RightBorder{"Right"};
    TDataSkinBorder TopBorder{"Top"};
    TDataSkinBorder BottomBorder{"Bottom"};
    TDataSkinButton Buttons{"Buttons"};

    // Title-bar buttons of the skin, then the three MDI child buttons.
    std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;

    // Absent (null) when the skin lacks their section.
    std::unique_ptr<TDataSkinObject> MenuBar;
    std::unique_ptr<TDataSkinBorder> Progress;
    std::unique_ptr<TDataSkinObject> ProgressChunk;
    std::unique_ptr<TDataSkinObject> GroupBoxEdge;
    std::unique_ptr<TDataSkinBoxLabel> GroupBox;
    std::unique_ptr<TDataSkinBorder> Tabs;
    std::unique_ptr<TDataSkinObject> StatusBarEdges;
    std::unique_ptr<TDataSkinObject> TabPane;
    std::unique_ptr<TDataSkinObject> ToolBars;
    std::unique_ptr<TDataSkinBorder> ComboButton;
    std::unique_ptr<TDataSkinObject> SunkEdge;
    std::unique_ptr<TDataSkinObject> ExtraImages;
    std::unique_ptr<TDataSkinObject> Headerbar;
    std::unique_ptr<TDataSkinObject> MenuItem;
    std::unique_ptr<TDataSkinObject> MenuBackground;
    std::unique_ptr<TDataSkinObject> Scrollbar;
    std::unique_ptr<TDataSkinObject> HorzScroll;
    std::unique_ptr<TDataSkinObject> VertScroll;
    std::unique_ptr<TDataSkinObject> HorzScrollThumb;
    std::unique_ptr<TDataSkinObject> VertScrollThumb;
    std::unique_ptr<TDataSkinObject> TrackbarThumbHorz;
    std::unique_ptr<TDataSkinObject> TrackbarThumbVert;
    std::unique_ptr<TDataSkinObject> TrackbarThumbLeft;
    std::unique_ptr<TDataSkinObject> TrackbarThumbRight;
    std::unique_ptr<TDataSkinObject> TrackbarThumbUp;
    std::unique_ptr<TDataSkinObject> TrackbarThumbDown;
    std::unique_ptr<TDataSkinBorder> UpDownHorz;
    std::unique_ptr<TDataSkinBorder> UpDownVert;
    // From the skin, else from the program's resources: present after a load.
    std::unique_ptr<TDataSkinObject> Track;
    std::unique_ptr<TDataSkinObject> TrackVert;
    // Derived by the loader: present after a load.
    std::unique_ptr<TDataSkinObject> ComboxArrow;
    std::unique_ptr<TDataSkinObject> Toolbar;

    // Section "Colours".
    TColour WindowTextColour = SystemColourRef(COLOR_WINDOWTEXT);
    TColour ButtonFaceColour = SystemColourRef(COLOR_BTNFACE);
    TColour ScrollbarColour = SystemColourRef(COLOR_SCROLLBAR);
    TColour HilightTextColour = SystemColourRef(COLOR_HIGHLIGHTTEXT);
    TColour HilightColour = SystemColourRef(COLOR_HIGHLIGHT);
    TColour MenubarColour = SystemColourRef(COLOR_BTNFACE);
    TColour MenuColour = SystemColourRef(COLOR_MENU);
    TColour MenuTextColour = SystemColourRef(COLOR_MENUTEXT);
    TColour ButtonTextColour = SystemColourRef(COLOR_BTNTEXT);
    TColour ButtonHilightColour = SystemColourRef(COLOR_BTNHIGHLIGHT);
    TColour ButtonlightColour = SystemColourRef(COLOR_BTNHIGHLIGHT);
    TColour ButtonShadowColour = SystemColourRef(COLOR_BTNSHADOW);
    TColour ButtonDkShadowColour = SystemColourRef(COLOR_3DDKSHADOW);
    TColour MenuBarTextColour = SystemColourRef(COLOR_MENUTEXT);
    TColour TitleTextActiveColour = SystemColourRef(COLOR_CAPTIONTEXT);
    TColour TitleTextNoActiveColour = SystemColourRef(COLOR_INACTIVECAPTIONTEXT);

    std::wstring SkinName;
    // Key "color" of each section "Colour..." other than "Colours", in file order.
    std::vector<TColour> ColourSections;
    TColour CustomColours[10] = {clSkinWhite, clSkinWhite, clSkinWhite, clSkinWhite, clSkinWhite,
                                 clSkinWhite, clSkinWhite, clSkinWhite, clSkinWhite, clSkinWhite};
    // A pixel of the top border's first frame, or ButtonFaceColour without one.
    TColour SampledTitleColour = SystemColourRef(COLOR_BTNFACE);
    // A solid brush of ButtonFaceColour; recreated at every load.
    TBrushHandle FaceBrush;

private:
    class TLoader;
    friend class TLoader;
};

// Loads a packed skin (an archive holding the definition, the first ".ini", and the
// bitmaps it names) into `model`; the archive reader's messages go to `onMessage` (none
// when it is empty). False, with the model untouched, when the bytes are no archive or
// hold no definition.
bool LoadPackedSkin(TSkinModel& model, std::span<const std::uint8_t> packed,
                    std::function<void(const std::wstring&)> onMessage = [](const std::wstring&) {});

}  // namespace vx
