// The skin model loaded from our own skin and from small archives made here: which
// elements exist, bitmap lookup, colours, title-bar buttons and their frames, the MDI
// buttons, the resource fallback, the derived combo, arrow and toolbar pictures, and
// reloading.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinRead.h"
#include "skin/data/imgutil.h"
#include "tools/skinpack/SkinPacker.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

using TPixelFn = std::function<TColour(int x, int y)>;

// A 24-bit BMP file of w x h pixels.
std::vector<std::uint8_t> Bmp(int w, int h, const TPixelFn& colour) {
    TBitmap b(w, h, pf24bit);
    for (int y = 0; y < h; ++y) {
        auto* row = static_cast<std::uint8_t*>(b.ScanLine(y));
        for (int x = 0; x < w; ++x) {
            const TColour c = colour(x, y);
            row[3 * x] = static_cast<std::uint8_t>(BlueOf(c));
            row[3 * x + 1] = static_cast<std::uint8_t>(GreenOf(c));
            row[3 * x + 2] = static_cast<std::uint8_t>(RedOf(c));
        }
    }
    TMemoryStream s;
    b.SaveToStream(s);
    return {s.GetMemory(), s.GetMemory() + s.GetSize()};
}

std::vector<std::uint8_t> Solid(int w, int h, TColour c) {
    return Bmp(w, h, [c](int, int) { return c; });
}

TColour At(const TBitmap& bitmap, int x, int y) {
    TBitmap b;
    b.Assign(bitmap);
    b.SetPixelFormat(pf24bit);
    const auto* p = static_cast<const std::uint8_t*>(b.ScanLine(y)) + 3 * x;
    return MakeColour(p[2], p[1], p[0]);
}

// Each channel within 1 (gradient tables truncate).
bool Near(TColour a, TColour b) {
    return std::abs(RedOf(a) - RedOf(b)) <= 1 && std::abs(GreenOf(a) - GreenOf(b)) <= 1 &&
           std::abs(BlueOf(a) - BlueOf(b)) <= 1;
}

// Loads a model from INI text and named files, the way the skin data component does:
// the archive reader over the packed files, the INI reader over the definition.
class TSkin {
public:
    explicit TSkin(TSkinLoadOptions options = {}) : options_(options) {
        options_.ScrollArrowWidth = options.ScrollArrowWidth >= 0 ? options.ScrollArrowWidth : 17;
    }

    void Load(const std::string& ini, std::vector<TSkinFile> files) {
        files.push_back({"skin.ini", std::vector<std::uint8_t>(ini.begin(), ini.end())});
        LoadFiles(files);
    }
    void LoadFiles(const std::vector<TSkinFile>& files) {
        TSkinReader reader;
        reader.OnMessage = [](const std::wstring&) {};
        ASSERT_TRUE(reader.IndexArchive(BuildSkinArchive(files)));
        TMemoryStream text;
        std::string name;
        ASSERT_TRUE(reader.ExtractFirstMatching(".ini", text, name));
        TQuickIni ini;
        ini.LoadFromStream(&text);
        Model.LoadDefinition(ini, reader, options_);
    }

    TSkinModel Model;

private:
    TSkinLoadOptions options_;
};

// --- Our own skin ---------------------------------------------------------------------------

class OwnSkin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        skin_ = new TSkin();
        skin_->LoadFiles(CollectSkinFolder(fs::path(VX_TEST_SOURCE_DIR) / "assets" / "skin", false));
    }
    static void TearDownTestSuite() {
        delete skin_;
        skin_ = nullptr;
    }
    static void FromAssets(const char* file, TBitmap& b) {
        b.LoadFromFile((fs::path(VX_TEST_SOURCE_DIR) / "assets" / "skin" / file).wstring());
        b.SetPixelFormat(pf24bit);
    }
    static TSkin* skin_;
    const TSkinModel& m() { return skin_->Model; }
};
TSkin* OwnSkin::skin_ = nullptr;

TEST_F(OwnSkin, TitleBarButtonsAreTheLoadedSectionsPlusThreeMdiButtons) {
    const auto& b = m().SysButtons;
    ASSERT_EQ(b.size(), 10u);
    const char* names[] = {"BUTTON1", "BUTTON2", "BUTTON3", "BUTTON4", "BUTTON5", "BUTTON6", "BUTTON7"};
    const int frames[] = {4, 4, 4, 4, 6, 3, 4};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(b[i]->Name, names[i]);
        EXPECT_EQ(b[i]->FrameCount, frames[i]) << names[i];
    }
    // The help button sits in the maximise button's place; the system icon button
    // keeps no picture of its own.
    EXPECT_EQ(b[4]->Action, 4);
    EXPECT_EQ(b[4]->XCoord, 58);
    EXPECT_EQ(b[4]->YCoord, 5);
    EXPECT_EQ(b[4]->Bitmap.GetWidth(), 144);
    EXPECT_TRUE(b[5]->Bitmap.GetEmpty());
    EXPECT_EQ(b[6]->Visibility, 1500);

    TBitmap mdi;
    FromAssets("mdicontrols.bmp", mdi);
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& x = *b[7 + i];
        EXPECT_EQ(x.Action, 7 + i);
        EXPECT_EQ(x.FrameCount, 4);
        EXPECT_EQ(x.Align, 100);
        EXPECT_EQ(x.Visibility1, 100);
        EXPECT_EQ(x.XCoord, 60 - 20 * i);
        ASSERT_EQ(x.Bitmap.GetWidth(), 64);
        ASSERT_EQ(x.Bitmap.GetHeight(), 14);
        for (int px : {0, 17, 63})
            EXPECT_EQ(At(x.Bitmap, px, 7), At(mdi, 64 * i + px, 7)) << i << " " << px;
    }
}

TEST_F(OwnSkin, ElementsMarginsAndFrameCounts) {
    const TSkinModel& s = m();
    EXPECT_EQ(s.SkinName, L"Vexlo Calm");
    EXPECT_EQ(s.TopBorder.FrameCount, 2);
    EXPECT_EQ(s.TopBorder.LeftWidth, 8);
    EXPECT_EQ(s.TopBorder.RightWidth, 8);
    EXPECT_EQ(s.LeftBorder.TopHeight, 30);
    EXPECT_EQ(s.LeftBorder.BottomHeight, 4);
    EXPECT_EQ(s.BottomBorder.Trans, 0);
    EXPECT_EQ(s.Title.FrameCount, 2);
    EXPECT_EQ(s.Title.TXTBackleft, 10);
    EXPECT_EQ(s.Title.ActiveText, 0x00FFFFFFu);
    EXPECT_EQ(s.Title.InActiveText, MakeColour(243, 246, 249));
    EXPECT_EQ(s.Buttons.FrameCount, 5);
    EXPECT_EQ(s.Buttons.CheckButtonFrame, 12);
    EXPECT_EQ(s.Buttons.CheckBitmap.GetWidth(), 12 * 13);
    EXPECT_EQ(s.Buttons.RadioButtonFrame, 12);
    EXPECT_TRUE(s.Buttons.HasPressedColour2);
    EXPECT_EQ(s.Buttons.PressedColour2, MakeColour(44, 98, 153));
    ASSERT_TRUE(s.MenuBar);
    EXPECT_EQ(s.MenuBar->LeftWidth, 4);
    EXPECT_EQ(s.MenuBar->FrameCount, 2);
    ASSERT_TRUE(s.Progress && s.ProgressChunk && s.GroupBox && s.Tabs && s.TabPane && s.Headerbar);
    EXPECT_EQ(s.Progress->FrameCount, 2);
    EXPECT_EQ(s.ProgressChunk->FrameCount, 1);
    EXPECT_EQ(s.GroupBox->BackgroundLeftShift, 6);
    EXPECT_FALSE(s.Tabs->SecondBitmap.GetEmpty());
    EXPECT_EQ(s.TabPane->LeftWidth, 4);
    EXPECT_EQ(s.Headerbar->FrameCount, 3);
    ASSERT_TRUE(s.Scrollbar && s.HorzScrollThumb && s.TrackbarThumbDown && s.UpDownVert);
    EXPECT_EQ(s.Scrollbar->FrameCount, 23);
    EXPECT_EQ(s.Scrollbar->Bitmap.GetWidth(), 391);
    EXPECT_EQ(s.HorzScrollThumb->FrameCount, 3);
    EXPECT_EQ(s.TrackbarThumbDown->FrameCount, 5);
    EXPECT_EQ(s.UpDownVert->FrameCount, 8);
    EXPECT_FALSE(s.UpDownVert->SecondBitmap.GetEmpty());
    // The skin's own track channels, not the program's.
    ASSERT_TRUE(s.Track && s.TrackVert);
    EXPECT_EQ(s.Track->Name, "Track");
    EXPECT_EQ(s.Track->Bitmap.GetWidth(), 16);
    EXPECT_EQ(s.Track->Bitmap.GetHeight(), 5);
    EXPECT_EQ(s.Track->TopHeight, 2);
    EXPECT_EQ(s.TrackVert->LeftWidth, 2);
}

TEST_F(OwnSkin, ColoursAndTitleSample) {
    const TSkinModel& s = m();
    EXPECT_EQ(s.ButtonFaceColour, MakeColour(238, 241, 245));
    EXPECT_EQ(s.MenuColour, MakeColour(251, 252, 253));
    EXPECT_EQ(s.MenubarColour, MakeColour(232, 237, 242));
    EXPECT_EQ(s.ButtonDkShadowColour, MakeColour(91, 104, 119));
    ASSERT_EQ(s.ColourSections.size(), 3u);
    EXPECT_EQ(s.ColourSections[2], MakeColour(30, 41, 53));
    EXPECT_EQ(s.CustomColours[8], MakeColour(214, 72, 72));
    EXPECT_EQ(s.SampledTitleColour, MakeColour(68, 131, 194));
    LOGBRUSH lb{};
    ASSERT_TRUE(GetObject(s.FaceBrush.Get(), sizeof lb, &lb));
    EXPECT_EQ(lb.lbColor, MakeColour(238, 241, 245));
}

TEST_F(OwnSkin, ComboPicturesAreDerived) {
    const TSkinModel& s = m();
    ASSERT_TRUE(s.ComboButton && s.SunkEdge && s.ComboxArrow);
    // The combo button's second picture is its own strip mirrored.
    TBitmap original;
    FromAssets("combobutton.bmp", original);
    const TBitmap& second = s.ComboButton->SecondBitmap;
    ASSERT_EQ(second.GetWidth(), original.GetWidth());
    ASSERT_EQ(second.GetHeight(), original.GetHeight());
    const int w = original.GetWidth();
    for (int x : {0, 5, 19, w - 1})
        for (int y : {0, 10})
            EXPECT_EQ(At(second, x, y), At(original, w - 1 - x, y)) << x << "," << y;

    // Four 50 x 21 cells with the text area cut out, the button at the right end.
    const TBitmap& strip = s.ComboButton->Bitmap;
    ASSERT_EQ(strip.GetWidth(), 200);
    ASSERT_EQ(strip.GetHeight(), 21);
    EXPECT_EQ(s.ComboButton->Style, 2);
    EXPECT_EQ(s.ComboButton->LeftWidth, 2);
    EXPECT_EQ(s.ComboButton->RightWidth, 21);
    EXPECT_EQ(s.ComboButton->FrameCount, 4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(At(strip, 50 * k + 10, 10), clSkinMagenta);
        EXPECT_NE(At(strip, 50 * k + 40, 1), clSkinMagenta) << k;  // the button's top edge
    }
    EXPECT_EQ(s.SunkEdge->LeftWidth, 21);
    EXPECT_EQ(s.SunkEdge->RightWidth, 2);
    for (int x : {0, 33, 199})
        EXPECT_EQ(At(s.SunkEdge->Bitmap, x, 5), At(strip, 199 - x, 5));

    // The arrow: 17 x 17 per state, out of the button part of each cell.
    EXPECT_EQ(s.ComboxArrow->FrameCount, 4);
    ASSERT_EQ(s.ComboxArrow->Bitmap.GetWidth(), 68);
    ASSERT_EQ(s.ComboxArrow->Bitmap.GetHeight(), 17);
    for (int i = 0; i < 4; ++i)
        for (int p : {0, 8, 16})
            EXPECT_EQ(At(s.ComboxArrow->Bitmap, 17 * i + p, p), At(strip, 50 * (i + 1) - 19 + p, 2 + p));

    ASSERT_TRUE(s.Toolbar);
    EXPECT_EQ(s.Toolbar->Bitmap.GetWidth(), 10);
    EXPECT_EQ(s.Toolbar->Bitmap.GetHeight(), 40);
}

// --- Hand-made skins ------------------------------------------------------------------------

TEST(SkinModelBitmaps, FileNamesAfterTheLastSeparatorWithLowerCaseBmpOnly) {
    EXPECT_EQ(TSkinModel::BitmapFileName("skins\\blue\\Pic.bmp"), "Pic.bmp");
    EXPECT_EQ(TSkinModel::BitmapFileName("c:pic.bmp"), "pic.bmp");
    EXPECT_EQ(TSkinModel::BitmapFileName("a.b\\pic"), "");
    EXPECT_EQ(TSkinModel::BitmapFileName("pic.BMP"), "");
    EXPECT_EQ(TSkinModel::BitmapFileName("pic.tga"), "");
    EXPECT_EQ(TSkinModel::BitmapFileName("dir\\"), "");

    TSkin skin;
    skin.Load("[GroupBoxEdge]\nImage=skins\\sub\\Edge.bmp\n"
              "[StatusBarEdges]\nImage=Edge.BMP\n"
              "[ToolBars]\nImage=edge.tga\n"
              "[MenuItem]\nImage=broken.bmp\n"
              "[Headerbar]\nImage=missing.bmp\n",
              {{"edge.bmp", Solid(6, 4, 0x123456)}, {"broken.bmp", {'B', 'M', 1, 2, 3}}});
    const TSkinModel& m = skin.Model;
    ASSERT_TRUE(m.GroupBoxEdge && m.StatusBarEdges && m.ToolBars && m.MenuItem && m.Headerbar);
    EXPECT_EQ(m.GroupBoxEdge->Bitmap.GetWidth(), 6);
    EXPECT_EQ(At(m.GroupBoxEdge->Bitmap, 2, 2), 0x123456u);
    // Elements exist but have no picture.
    EXPECT_TRUE(m.StatusBarEdges->Bitmap.GetEmpty());
    EXPECT_TRUE(m.ToolBars->Bitmap.GetEmpty());
    EXPECT_TRUE(m.MenuItem->Bitmap.GetEmpty());
    EXPECT_TRUE(m.Headerbar->Bitmap.GetEmpty());
}

TEST(SkinModelSections, MissingSectionsLeaveElementsAbsentAndDefaultsApply) {
    TSkin skin;
    skin.Load("[Personality]\nTop=top.bmp\n"
              "[Progress]\nImage=p.bmp\n"  // the progress loader wants "Bitmap"
              "[Tab.Pane]\nImage=p.bmp\nLeftWidth=7\nTopHeight=2\nRightWidth=5\nTile=3\n"
              "[Progress.Chunk]\nImage=p.bmp\n"
              "[Headerbar]\nImage=p.bmp\nFrame=0\n"
              "[HorzScrollThumb]\nImage=p.bmp\nFrameCount=7\n"
              "[Colours]\nMenu=248, 248, 248\nButtonHilight=255 255 255\nScrollbar=\nButtonFace=1 2\n",
              {{"p.bmp", Solid(8, 8, 0)}, {"top.bmp", Solid(30, 12, MakeColour(10, 20, 30))}});
    const TSkinModel& m = skin.Model;
    EXPECT_FALSE(m.Progress);
    EXPECT_FALSE(m.MenuBar);
    EXPECT_FALSE(m.ComboButton);
    EXPECT_FALSE(m.Scrollbar);
    EXPECT_FALSE(m.TrackbarThumbHorz);
    ASSERT_TRUE(m.TabPane);
    EXPECT_EQ(m.TabPane->LeftWidth, 4);
    EXPECT_EQ(m.TabPane->TopHeight, 2);
    EXPECT_EQ(m.TabPane->RightWidth, 4);
    EXPECT_EQ(m.TabPane->Tile, 0);
    EXPECT_EQ(m.TabPane->NormalColour, -1);
    ASSERT_TRUE(m.ProgressChunk);
    EXPECT_EQ(m.ProgressChunk->FrameCount, 0);  // kept as loaded
    EXPECT_EQ(m.Headerbar->FrameCount, 5);
    EXPECT_EQ(m.HorzScrollThumb->FrameCount, 7);

    EXPECT_EQ(m.MenuColour, 0x00F8F8F8u);
    EXPECT_EQ(m.ButtonHilightColour, 0x00FFFFFFu);
    EXPECT_EQ(m.ScrollbarColour, SystemColourRef(COLOR_SCROLLBAR));
    EXPECT_EQ(m.ButtonFaceColour, 0x00000001u);
    EXPECT_EQ(m.MenubarColour, 0x00000001u);
    EXPECT_EQ(m.WindowTextColour, SystemColourRef(COLOR_WINDOWTEXT));
    EXPECT_EQ(m.CustomColours[3], clSkinWhite);
    EXPECT_TRUE(m.ColourSections.empty());
    EXPECT_EQ(m.Title.FontHeight, 14);
    EXPECT_EQ(m.Title.ActiveText, clSkinNone);
    EXPECT_TRUE(m.Title.Bitmap.GetEmpty());
    // Borders default to one frame, stretched and transparent.
    EXPECT_EQ(m.LeftBorder.FrameCount, 1);
    EXPECT_EQ(m.LeftBorder.Tile, 1);
    EXPECT_EQ(m.LeftBorder.Trans, 1);
    // The title sample is taken at (width / 3, frame height / 3) of the top border.
    EXPECT_EQ(m.SampledTitleColour, MakeColour(10, 20, 30));
    // Nothing to derive the combo arrow from; it still exists, like the toolbar.
    ASSERT_TRUE(m.ComboxArrow && m.Toolbar);
    EXPECT_TRUE(m.ComboxArrow->Bitmap.GetEmpty());
}

TEST(SkinModelSections, TrackFallsBackToTheProgramResources) {
    TSkin skin({GetModuleHandleW(nullptr), 17});
    skin.Load("[TitlebarSkin]\nSkinName=bare\n", {});
    const TSkinModel& m = skin.Model;
    ASSERT_TRUE(m.Track && m.TrackVert);
    EXPECT_EQ(m.Track->Name, "TRACK");
    EXPECT_EQ(m.TrackVert->Name, "TRACKVERT");
    EXPECT_EQ(m.Track->Bitmap.GetWidth(), 16);
    EXPECT_EQ(m.Track->Bitmap.GetHeight(), 4);
    EXPECT_EQ(m.TrackVert->Bitmap.GetWidth(), 4);
    for (const auto* t : {m.Track.get(), m.TrackVert.get()}) {
        EXPECT_EQ(t->LeftWidth, 3);
        EXPECT_EQ(t->TopHeight, 3);
        EXPECT_EQ(t->RightWidth, 3);
        EXPECT_EQ(t->BottomHeight, 3);
        EXPECT_EQ(t->FrameCount, 1);
        EXPECT_EQ(t->Tile, 0);
    }
    EXPECT_EQ(m.SkinName, L"bare");
}

TEST(SkinModelSysButtons, SectionChoiceHiddenButtonsAndFrameRule) {
    TSkin skin;
    skin.Load("[Buttons]\nBitmap=a.bmp\n"
              "[Button.CheckBox]\nAction=0\n"
              "[button.radio]\nAction=0\n"
              "[BUTTON7]\nButtonImage=a.bmp\n"           // 58 x 21 without frame: 3
              "[ButtonWide]\nButtonImage=b.bmp\nAction=1\nVisibility=2\nXcoord=40\nYcoord=6\n"  // 120 x 21: 6
              "[ButtonHidden]\nAction=-1\nVisibility=10\n"
              "[ButtonNoVisibility]\nAction=-1\n"  // hidden as well: Visibility counts as -1
              "[ButtonCmd]\nAction=-1\nVisibility=0\nButtonImage=a.bmp\n"  // kept; negative action: 6
              "[ButtonHelp]\nAction=4\nXcoord=1\nYcoord=2\nframe=2\n"
              "[ButtonIcon]\nAction=3\nButtonImage=a.bmp\n"
              "[ButtonMenu]\nAction=11\nButtonImage=a.bmp\nframe=1\n",
              {{"a.bmp", Solid(58, 21, 0x404040)}, {"b.bmp", Solid(120, 21, 0x404040)}});
    const auto& b = skin.Model.SysButtons;
    ASSERT_EQ(b.size(), 9u);  // six kept sections and the MDI buttons
    EXPECT_EQ(b[0]->Name, "BUTTON7");
    EXPECT_EQ(b[0]->FrameCount, 3);
    EXPECT_EQ(b[0]->CombineOp, -1);
    EXPECT_EQ(b[0]->Visibility1, 0);
    EXPECT_EQ(b[1]->Name, "BUTTONWIDE");
    EXPECT_EQ(b[1]->FrameCount, 6);
    EXPECT_EQ(b[2]->Name, "BUTTONCMD");
    EXPECT_EQ(b[2]->FrameCount, 6);
    EXPECT_EQ(b[2]->Visibility1, -1);
    EXPECT_EQ(b[3]->XCoord, 40);  // from the maximise button shown on normal windows
    EXPECT_EQ(b[3]->YCoord, 6);
    EXPECT_EQ(b[3]->FrameCount, 2);
    EXPECT_EQ(b[4]->FrameCount, 3);
    EXPECT_TRUE(b[4]->Bitmap.GetEmpty());  // system menu icon: no picture of its own
    EXPECT_EQ(b[5]->FrameCount, 1);
    EXPECT_FALSE(b[5]->Bitmap.GetEmpty());  // its frame count was given
    // Without MDICONTROLS the MDI buttons exist without pictures.
    EXPECT_EQ(b[6]->Action, 7);
    EXPECT_TRUE(b[8]->Bitmap.GetEmpty());
}

TEST(SkinModelSysButtons, FrameRuleAtTheRatioBoundary) {
    TSkin skin;
    skin.Load("[Button1]\nButtonImage=at.bmp\n[Button2]\nButtonImage=over.bmp\n[Button3]\nButtonImage=over.bmp\nframe=4\n",
              {{"at.bmp", Solid(38, 10, 0)}, {"over.bmp", Solid(39, 10, 0)}});
    const auto& b = skin.Model.SysButtons;
    ASSERT_EQ(b.size(), 6u);
    EXPECT_EQ(b[0]->FrameCount, 3);  // exactly 3.8 wide per high
    EXPECT_EQ(b[1]->FrameCount, 6);  // 3.9
    EXPECT_EQ(b[2]->FrameCount, 4);  // a given count is kept
}

TEST(SkinModelSysButtons, HelpButtonWithoutMaximiseKeepsItsPlace) {
    TSkin skin;
    skin.Load("[Button1]\nAction=4\nXcoord=9\nYcoord=3\n[Button2]\nAction=1\nVisibility=2\nXcoord=50\n", {});
    const auto& b = skin.Model.SysButtons;
    ASSERT_EQ(b.size(), 5u);
    EXPECT_EQ(b[0]->XCoord, 9);
    EXPECT_EQ(b[0]->YCoord, 3);
}

TEST(SkinModelSysButtons, MdiButtonsAreCutFromTwelveCells) {
    TSkin skin;
    // Cells 10 pixels wide; the red value is the column.
    skin.Load("[MDICONTROLS]\nImage=mdi.bmp\n",
              {{"mdi.bmp", Bmp(120, 9, [](int x, int y) { return MakeColour(x, y, 7); })}});
    const auto& b = skin.Model.SysButtons;
    ASSERT_EQ(b.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(b[i]->Action, 7 + i);
        EXPECT_EQ(b[i]->XCoord, 14 * (3 - i));
        ASSERT_EQ(b[i]->Bitmap.GetWidth(), 40);
        ASSERT_EQ(b[i]->Bitmap.GetHeight(), 9);
        EXPECT_EQ(At(b[i]->Bitmap, 0, 0), MakeColour(40 * i, 0, 7));
        EXPECT_EQ(At(b[i]->Bitmap, 39, 8), MakeColour(40 * i + 39, 8, 7));
    }
}

TEST(SkinModelButtons, CheckAndRadioFramesFromStripWidths) {
    TSkin skin;
    skin.Load("[Buttons]\nCheckButton=check.bmp\nRadioButton=radio.bmp\nNormalColour2=1 2 3\nTile=2\n",
              {{"check.bmp", Solid(65, 13, 0)}, {"radio.bmp", Solid(40, 13, 0)}});
    const TDataSkinButton& b = skin.Model.Buttons;
    EXPECT_EQ(b.CheckButtonFrame, 5);
    EXPECT_EQ(b.RadioButtonFrame, 4);
    EXPECT_TRUE(b.HasNormalColour2);
    EXPECT_FALSE(b.HasPressedColour2);
    EXPECT_EQ(b.NormalColour2, MakeColour(1, 2, 3));
    EXPECT_EQ(b.PressedColour2, SystemColourRef(COLOR_BTNTEXT));
    EXPECT_EQ(b.Tile, 0);

    skin.Load("[Buttons]\nCheckButton=check.bmp\n", {{"check.bmp", Solid(96, 16, 0)}});
    EXPECT_EQ(skin.Model.Buttons.CheckButtonFrame, 6);  // 16-pixel cells
    EXPECT_EQ(skin.Model.Buttons.RadioButtonFrame, 4);  // no strip at all
}

TEST(SkinModelButtons, StripCellsAreThirteenWideBelowSixteenPixelsAndGivenCountsStay) {
    TSkin skin;
    skin.Load("[Buttons]\nCheckButton=check.bmp\nRadioButton=check.bmp\nRadioButtonFrame=8\n",
              {{"check.bmp", Solid(96, 15, 0)}});
    EXPECT_EQ(skin.Model.Buttons.CheckButtonFrame, 7);
    EXPECT_EQ(skin.Model.Buttons.RadioButtonFrame, 8);
}

TEST(SkinModelColours, ColourSectionsCustomColoursAndSystemDefaults) {
    TSkin skin;
    skin.Load("[Colours]\nTitleTextActive=1 2\n[colour1]\ncolor=1 2 3\n[COLOURS2]\n[Colourless]\nColor=9 9 9\n"
              "[Customcolors]\nColor0=10 20 30\nColor9=0 0 0\nColor10=5 5 5\n",
              {});
    const TSkinModel& m = skin.Model;
    // "COLOURS" itself is not a colour section; "COLOURS2" is, with the default colour.
    ASSERT_EQ(m.ColourSections.size(), 3u);
    EXPECT_EQ(m.ColourSections[0], MakeColour(1, 2, 3));
    EXPECT_EQ(m.ColourSections[1], SystemColourRef(COLOR_WINDOWTEXT));
    EXPECT_EQ(m.ColourSections[2], MakeColour(9, 9, 9));
    EXPECT_EQ(m.CustomColours[0], MakeColour(10, 20, 30));
    EXPECT_EQ(m.CustomColours[9], 0u);
    EXPECT_EQ(m.CustomColours[5], clSkinWhite);
    EXPECT_EQ(m.TitleTextActiveColour, 0x00000001u);
    EXPECT_EQ(m.ButtonlightColour, SystemColourRef(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(m.TitleTextNoActiveColour, SystemColourRef(COLOR_INACTIVECAPTIONTEXT));
    EXPECT_EQ(m.ButtonDkShadowColour, SystemColourRef(COLOR_3DDKSHADOW));
}

TEST(SkinModelReload, ASkinWithoutASectionFreesItsElement) {
    TSkin skin;
    skin.Load("[Personality]\nTop=t.bmp\nTextBack=t.bmp\n[MenuItem]\nImage=t.bmp\n"
              "[Button1]\nButtonImage=t.bmp\n[Button2]\nframe=4\n",
              {{"t.bmp", Solid(8, 8, 0x0000FF)}});
    ASSERT_TRUE(skin.Model.MenuItem);
    ASSERT_EQ(skin.Model.SysButtons.size(), 5u);
    const TDataSkinBorder* top = &skin.Model.TopBorder;
    EXPECT_FALSE(top->Bitmap.GetEmpty());

    skin.Load("[Personality]\nLeft=t.bmp\n[Button1]\nframe=4\n", {{"t.bmp", Solid(8, 8, 0x0000FF)}});
    EXPECT_FALSE(skin.Model.MenuItem);
    EXPECT_EQ(skin.Model.SysButtons.size(), 4u);
    EXPECT_EQ(&skin.Model.TopBorder, top);
    EXPECT_TRUE(skin.Model.TopBorder.Bitmap.GetEmpty());
    EXPECT_TRUE(skin.Model.Title.Bitmap.GetEmpty());
    EXPECT_FALSE(skin.Model.LeftBorder.Bitmap.GetEmpty());
}

// The combo derivation composes each state from the sunk edge and the combo button.
TEST(SkinModelCombo, StripsAreComposedFromTheEdgeAndTheButton) {
    const TColour edge = MakeColour(100, 100, 100);
    const TColour buttonColour[4] = {MakeColour(200, 0, 0), MakeColour(0, 200, 0), MakeColour(0, 0, 200),
                                     MakeColour(50, 60, 70)};
    TSkin skin({nullptr, 15});  // arrow width 15: the button part is 17 wide
    skin.Load("[SunkEdge]\nImage=edge.bmp\nLeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2\nTrans=1\n"
              "[ComboButton]\nImage=button.bmp\nLeftWidth=1\nTopHeight=1\nRightWidth=1\nBottomHeight=1\n",
              {{"edge.bmp", Solid(40, 21, edge)},
               {"button.bmp", Bmp(40, 21, [&](int x, int) { return buttonColour[x / 10]; })}});
    const TSkinModel& m = skin.Model;
    ASSERT_TRUE(m.ComboButton && m.SunkEdge);
    const TBitmap& strip = m.ComboButton->Bitmap;
    ASSERT_EQ(strip.GetWidth(), 200);
    EXPECT_EQ(m.ComboButton->RightWidth, 19);
    EXPECT_EQ(m.ComboButton->TopHeight, 2);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(At(strip, 50 * k, 0), edge);
        EXPECT_EQ(At(strip, 50 * k + 20, 10), clSkinMagenta);
        EXPECT_EQ(At(strip, 50 * k + 41, 10), buttonColour[k]) << k;
        EXPECT_EQ(At(strip, 50 * k + 49, 20), buttonColour[k]) << k;
    }
    // The original button strip, mirrored, stays as the second picture.
    EXPECT_EQ(At(m.ComboButton->SecondBitmap, 0, 0), buttonColour[3]);
    EXPECT_EQ(m.SunkEdge->LeftWidth, 19);
    EXPECT_EQ(At(m.SunkEdge->Bitmap, 199 - 41, 10), buttonColour[0]);
}

TEST(SkinModelCombo, ArrowWithoutSunkEdgeShowsTheFaceColourForMagenta) {
    TSkin skin;
    skin.Load("[ComboButton]\nImage=button.bmp\n",
              {{"button.bmp", Bmp(8, 4, [](int x, int) { return x < 4 ? clSkinMagenta : 0x00112233; })}});
    const TSkinModel& m = skin.Model;
    ASSERT_TRUE(m.ComboxArrow);
    EXPECT_EQ(m.ComboxArrow->FrameCount, 4);
    // The default face colour is a system colour: its value on screen, not its index.
    EXPECT_EQ(At(m.ComboxArrow->Bitmap, 0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(At(m.ComboxArrow->Bitmap, 5, 0), 0x00112233u);
    EXPECT_EQ(m.ComboButton->Style, 0);  // nothing to combine with
}

// Each load shades the toolbar from its own title colour (the first one included).
TEST(SkinModelToolbar, GradientRunsFromLightFaceToTitleShade) {
    TSkin skin;
    // Grey title: the bottom is 15 % grey over the title colour.
    skin.Load("[Colours]\nButtonFace=200 200 200\n", {});
    const TBitmap& grey = skin.Model.Toolbar->Bitmap;
    EXPECT_EQ(skin.Model.SampledTitleColour, MakeColour(200, 200, 200));
    EXPECT_EQ(At(grey, 0, 0), Blend(MakeColour(200, 200, 200), clSkinWhite, 150));
    EXPECT_TRUE(Near(At(grey, 9, 39), Blend(0x808080, MakeColour(200, 200, 200), 150)))
        << std::hex << At(grey, 9, 39);

    // A saturated title (index 255) is lightened: weight (225 - 255) * 25 / 140 + 50 = 45.
    skin.Load("[Personality]\nTop=top.bmp\n", {{"top.bmp", Solid(9, 9, MakeColour(0, 0, 200))}});
    const TBitmap& blue = skin.Model.Toolbar->Bitmap;
    EXPECT_TRUE(Near(At(blue, 3, 39), Blend(MakeColour(0, 0, 200), clSkinWhite, 45)));
    EXPECT_EQ(skin.Model.Toolbar->FrameCount, 1);
}

}  // namespace
}  // namespace vx
