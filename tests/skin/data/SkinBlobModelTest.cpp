// The skin model loaded from the packed blob the build makes for the main window (the
// bytes the program carries), checked against the skin folder it was packed from: the
// blob holds every file unchanged, every section the loader reads is there, each
// element's picture has the size its bitmap file gives and the frame count its INI key
// or strip gives, and the model equals the one loaded from the uncompressed folder.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <stdexcept>
#include <memory>
#include <set>
#include <cstdlib>
#include <tuple>
#include <string>
#include <utility>
#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinRead.h"
#include "tools/skinpack/SkinPacker.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

fs::path SkinFolder() { return fs::path(VX_TEST_SOURCE_DIR) / "assets" / "skin"; }

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Width and height straight from a BMP file's info header, without the bitmap reader.
std::pair<int, int> BmpSize(const std::vector<std::uint8_t>& bmp) {
    if (bmp.size() < 26 || bmp[0] != 'B' || bmp[1] != 'M')
        return {-1, -1};
    auto i32 = [&](std::size_t at) {
        return static_cast<std::int32_t>(bmp[at] | (bmp[at + 1] << 8) | (bmp[at + 2] << 16) |
                                         (static_cast<std::uint32_t>(bmp[at + 3]) << 24));
    };
    return {i32(18), std::abs(i32(22))};
}

// The skin as the program loads it: archive, definition and model.
struct TLoadedSkin {
    TSkinReader Reader;
    TQuickIni Ini;
    TSkinModel Model;

    void Load() {
        TMemoryStream text;
        std::string name;
        ASSERT_TRUE(Reader.ExtractFirstMatching(".ini", text, name));
        Ini.LoadFromStream(&text);
        TSkinLoadOptions options;
        options.ScrollArrowWidth = 17;
        Model.LoadDefinition(Ini, Reader, options);
    }
};

class SkinBlob : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        blobBytes_ = new std::vector<std::uint8_t>(ReadFile(VX_TEST_SKIN_BLOB));
        blob_ = new TLoadedSkin;
        blob_->Reader.OnMessage = [](const std::wstring&) { ADD_FAILURE() << "unexpected skin message"; };
        if (blob_->Reader.LoadArchive(TByteSpan(blobBytes_->data(), blobBytes_->size())))
            blob_->Load();
    }
    static void TearDownTestSuite() {
        delete blob_;
        delete blobBytes_;
        blob_ = nullptr;
        blobBytes_ = nullptr;
    }
    void SetUp() override {
        ASSERT_FALSE(blobBytes_->empty()) << "no blob at " << VX_TEST_SKIN_BLOB;
        ASSERT_GT(blob_->Reader.Count(), 0) << "the blob did not load";
    }

    static const TSkinReader& reader() { return blob_->Reader; }
    static const TQuickIni& ini() { return blob_->Ini; }
    static const TSkinModel& model() { return blob_->Model; }

    // The size of the archive file an INI path names, from the file's own header.
    static std::pair<int, int> FileSize(const std::string& iniPath) {
        TBytes bytes;
        reader().ExtractFile(TSkinModel::BitmapFileName(iniPath), bytes);
        return BmpSize(bytes);
    }

    static std::vector<std::uint8_t>* blobBytes_;
    static TLoadedSkin* blob_;
};
std::vector<std::uint8_t>* SkinBlob::blobBytes_ = nullptr;
TLoadedSkin* SkinBlob::blob_ = nullptr;

// --- The archive ---------------------------------------------------------------------------

TEST_F(SkinBlob, HoldsEveryFileOfTheSkinFolderUnchanged) {
    // Files on disk: the bitmaps and the one definition; nothing else belongs in a skin.
    std::map<std::string, fs::path> onDisk;
    for (const auto& entry : fs::directory_iterator(SkinFolder()))
        if (entry.is_regular_file())
            onDisk[Lower(entry.path().filename().string())] = entry.path();
    const auto bitmaps = std::count_if(onDisk.begin(), onDisk.end(), [](const auto& f) { return EndsWith(f.first, ".bmp"); });
    ASSERT_EQ(onDisk.size(), 50u) << "our skin: 49 bitmaps and vexlo.ini";
    ASSERT_EQ(bitmaps, 49);

    EXPECT_EQ(reader().Header().Version, 20000);
    ASSERT_EQ(reader().Count(), static_cast<int>(onDisk.size()));
    EXPECT_EQ(reader().Names().back(), "vexlo.ini");
    std::size_t total = 0;
    for (int i = 0; i < reader().Count(); ++i) {
        const std::string& name = reader().Names()[static_cast<std::size_t>(i)];
        ASSERT_TRUE(onDisk.count(name)) << name << " is not in the skin folder";
        TBytes bytes;
        reader().ExtractFile(name, bytes);
        EXPECT_EQ(static_cast<std::int32_t>(bytes.size()), reader().Size(i)) << name;
        EXPECT_TRUE(bytes == ReadFile(onDisk[name])) << name << " differs from the folder's file";
        total += bytes.size();
    }
    EXPECT_EQ(total, reader().Data().size());

    // The stored length is the archive's, and the coder earns its place on our pictures.
    const std::uint32_t stored = (*blobBytes_)[0] | ((*blobBytes_)[1] << 8) | ((*blobBytes_)[2] << 16) |
                                 (static_cast<std::uint32_t>((*blobBytes_)[3]) << 24);
    EXPECT_EQ(stored, BuildSkinArchive(CollectSkinFolder(SkinFolder(), false)).size());
    EXPECT_LT(blobBytes_->size() * 2, stored) << "less than 2:1 on flat skin bitmaps";
}

TEST_F(SkinBlob, EverySectionTheLoaderReadsIsPresentAndEveryPictureNamedExists) {
    const char* sections[] = {
        "TitlebarSkin", "Personality", "Fonts", "Colours", "Customcolors", "Colour1", "MDICONTROLS",
        "Buttons", "MenuItem", "MenuBackground", "Progress", "Progress.Chunk", "GroupBoxEdge", "GroupBox",
        "Tabs", "Tab.Pane", "StatusBarEdges", "ToolBars", "Headerbar", "ComboButton", "SunkEdge",
        "ExtraImages", "Scrollbar", "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb",
        "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
        "Trackbar.ThumbUp", "Trackbar.ThumbDown", "Track", "TRACKVERT", "UpDown.Horz", "UpDown.Vert",
        "Button1", "Button2", "Button3", "Button4", "Button5", "Button6", "Button7"};
    for (const char* s : sections)
        EXPECT_GE(ini().SectionIndex(s), 0) << "[" << s << "]";

    // Every value naming a bitmap names a readable file of the archive, and every bitmap
    // of the archive is named somewhere: no picture is missing or carried for nothing.
    std::set<std::string> named;
    for (const std::string& line : ini().Lines()) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string file = TSkinModel::BitmapFileName(TQuickIni::Trim(std::string_view(line).substr(eq + 1)));
        if (file.empty())
            continue;
        named.insert(Lower(file));
        const auto [w, h] = FileSize(file);
        EXPECT_GT(w, 0) << line;
        EXPECT_GT(h, 0) << line;
    }
    std::set<std::string> carried;
    for (const std::string& name : reader().Names())
        if (EndsWith(name, ".bmp"))
            carried.insert(name);
    EXPECT_EQ(named, carried);
}

// --- The model -----------------------------------------------------------------------------

TEST_F(SkinBlob, ImageElementsHaveTheirFileSizesMarginsAndFrames) {
    const TSkinModel& m = model();
    struct TImage {
        const TDataSkinObject* Element;
        const char* Section;
        const char* ImageKey;
        int Frames;  // cells across the strip; 0: read from the section's "Frame" key
    };
    const TImage images[] = {
        {m.MenuItem.get(), "MenuItem", "Image", 5},
        {m.MenuBackground.get(), "MenuBackground", "Image", 1},
        {m.Progress.get(), "Progress", "Bitmap", 2},
        {m.ProgressChunk.get(), "Progress.Chunk", "Image", 0},
        {m.GroupBoxEdge.get(), "GroupBoxEdge", "Image", 2},
        {m.GroupBox.get(), "GroupBox", "Image", 1},
        {m.Tabs.get(), "Tabs", "Image", 5},
        {m.TabPane.get(), "Tab.Pane", "Image", 1},
        {m.StatusBarEdges.get(), "StatusBarEdges", "Image", 3},
        {m.ToolBars.get(), "ToolBars", "Image", 5},
        {m.Headerbar.get(), "Headerbar", "Image", 0},
        {m.ExtraImages.get(), "ExtraImages", "Image", 5},
        {m.Scrollbar.get(), "Scrollbar", "Image", 23},
        {m.HorzScroll.get(), "HorzScroll", "Image", 4},
        {m.VertScroll.get(), "VertScroll", "Image", 4},
        {m.HorzScrollThumb.get(), "HorzScrollThumb", "Image", 3},
        {m.VertScrollThumb.get(), "VertScrollThumb", "Image", 3},
        {m.TrackbarThumbHorz.get(), "Trackbar.ThumbHorz", "Image", 5},
        {m.TrackbarThumbVert.get(), "Trackbar.ThumbVert", "Image", 5},
        {m.TrackbarThumbLeft.get(), "Trackbar.ThumbLeft", "Image", 5},
        {m.TrackbarThumbRight.get(), "Trackbar.ThumbRight", "Image", 5},
        {m.TrackbarThumbUp.get(), "Trackbar.ThumbUp", "Image", 5},
        {m.TrackbarThumbDown.get(), "Trackbar.ThumbDown", "Image", 5},
        {m.UpDownHorz.get(), "UpDown.Horz", "Image", 8},
        {m.UpDownVert.get(), "UpDown.Vert", "Image", 8},
        {m.Track.get(), "Track", "Image", 0},
        {m.TrackVert.get(), "TRACKVERT", "Image", 0},
    };
    for (const TImage& e : images) {
        SCOPED_TRACE(e.Section);
        ASSERT_NE(e.Element, nullptr);
        EXPECT_EQ(e.Element->Name, e.Section);
        const auto [w, h] = FileSize(ini().ReadString(e.Section, e.ImageKey, ""));
        ASSERT_GT(w, 0);
        EXPECT_EQ(e.Element->Bitmap.GetWidth(), w);
        EXPECT_EQ(e.Element->Bitmap.GetHeight(), h);
        const int frames = e.Frames ? e.Frames : ini().ReadInteger(e.Section, "Frame", -1);
        EXPECT_EQ(e.Element->FrameCount, frames);
        // Strips run across: every frame is a whole cell, and the fixed margins fit in it.
        if (frames > 0) {
            EXPECT_EQ(w % frames, 0) << w << " px for " << frames << " frames";
            EXPECT_LE(e.Element->LeftWidth + e.Element->RightWidth, w / frames);
        }
        EXPECT_LE(e.Element->TopHeight + e.Element->BottomHeight, h);
        EXPECT_EQ(e.Element->LeftWidth, ini().ReadInteger(e.Section, "LeftWidth", 0));
        EXPECT_EQ(e.Element->TopHeight, ini().ReadInteger(e.Section, "TopHeight", 0));
        EXPECT_EQ(e.Element->RightWidth, ini().ReadInteger(e.Section, "RightWidth", 0));
        EXPECT_EQ(e.Element->BottomHeight, ini().ReadInteger(e.Section, "BottomHeight", 0));
    }
    // The second pictures of the bordered elements.
    for (const auto& [element, section, key] :
         {std::tuple{m.Tabs.get(), "Tabs", "Border"}, std::tuple{m.UpDownHorz.get(), "UpDown.Horz", "GlyphImage"},
          std::tuple{m.UpDownVert.get(), "UpDown.Vert", "GlyphImage"}}) {
        const auto [w, h] = FileSize(ini().ReadString(section, key, ""));
        EXPECT_EQ(element->SecondBitmap.GetWidth(), w) << section;
        EXPECT_EQ(element->SecondBitmap.GetHeight(), h) << section;
    }
}

TEST_F(SkinBlob, WindowBordersTitleButtonsAndTitleBarButtonsMatchTheirFiles) {
    const TSkinModel& m = model();
    const std::pair<const TDataSkinBorder*, const char*> borders[] = {
        {&m.LeftBorder, "Left"}, {&m.RightBorder, "Right"}, {&m.TopBorder, "Top"}, {&m.BottomBorder, "Bottom"}};
    for (const auto& [b, n] : borders) {
        SCOPED_TRACE(n);
        const auto [w, h] = FileSize(ini().ReadString("Personality", n, ""));
        EXPECT_EQ(b->Bitmap.GetWidth(), w);
        EXPECT_EQ(b->Bitmap.GetHeight(), h);
        const std::string key = n;
        const int frames = ini().ReadInteger("Personality", key + "Frame", -1);
        EXPECT_EQ(b->FrameCount, frames);
        // Side borders stack their frames, top and bottom borders lay them side by side.
        const bool vertical = key == "Left" || key == "Right";
        EXPECT_EQ((vertical ? w : h) % frames, 0);
        const int fixed = ini().ReadInteger("Personality", key + "TopHeight", -1) +
                          ini().ReadInteger("Personality", key + "BotHeight", -1);
        EXPECT_EQ(vertical ? b->TopHeight + b->BottomHeight : b->LeftWidth + b->RightWidth, fixed);
        EXPECT_LE(fixed, vertical ? h : w / frames);
    }
    const auto [tw, th] = FileSize(ini().ReadString("Personality", "TextBack", ""));
    EXPECT_EQ(m.Title.Bitmap.GetWidth(), tw);
    EXPECT_EQ(m.Title.Bitmap.GetHeight(), th);
    const auto [mw, mh] = FileSize(ini().ReadString("Personality", "MenuBar", ""));
    ASSERT_TRUE(m.MenuBar);
    EXPECT_EQ(m.MenuBar->Bitmap.GetWidth(), mw);
    EXPECT_EQ(m.MenuBar->Bitmap.GetHeight(), mh);

    // Push buttons: five cells; check and radio strips with their key's frame count,
    // each frame a square as tall as the strip.
    const auto [bw, bh] = FileSize(ini().ReadString("Buttons", "Bitmap", ""));
    EXPECT_EQ(m.Buttons.Bitmap.GetWidth(), bw);
    EXPECT_EQ(m.Buttons.Bitmap.GetHeight(), bh);
    EXPECT_EQ(bw % m.Buttons.FrameCount, 0);
    for (const auto& [strip, frames, file, key] :
         {std::tuple{&m.Buttons.CheckBitmap, m.Buttons.CheckButtonFrame, "CheckButton", "CheckButtonFrame"},
          std::tuple{&m.Buttons.RadioBitmap, m.Buttons.RadioButtonFrame, "RadioButton", "RadioButtonFrame"}}) {
        const auto [w, h] = FileSize(ini().ReadString("Buttons", file, ""));
        EXPECT_EQ(strip->GetWidth(), w) << file;
        EXPECT_EQ(strip->GetHeight(), h) << file;
        EXPECT_EQ(frames, ini().ReadInteger("Buttons", key, -1)) << file;
        EXPECT_EQ(w, frames * h) << file;
    }

    // Title-bar buttons: one per loaded "ButtonN" section (the hidden command button of
    // Action -1 is not loaded), then the three MDI buttons cut from a twelve-cell strip.
    int loaded = 0;
    for (int n = 1; ini().SectionIndex("Button" + std::to_string(n)) >= 0; ++n) {
        const std::string s = "Button" + std::to_string(n);
        if (ini().ReadInteger(s, "Action", 0) == -1)
            continue;
        ASSERT_LT(static_cast<std::size_t>(loaded), m.SysButtons.size());
        const TDataSkinSysButton& b = *m.SysButtons[static_cast<std::size_t>(loaded++)];
        SCOPED_TRACE(s);
        EXPECT_EQ(b.Action, ini().ReadInteger(s, "Action", -2));
        EXPECT_EQ(b.XCoord, ini().ReadInteger(s, "XCoord", -2));
        // The system-menu button draws the window's icon and keeps no picture.
        if (b.Action == 3) {
            EXPECT_TRUE(b.Bitmap.GetEmpty());
            continue;
        }
        const auto [w, h] = FileSize(ini().ReadString(s, "ButtonImage", ""));
        EXPECT_EQ(b.Bitmap.GetWidth(), w);
        EXPECT_EQ(b.Bitmap.GetHeight(), h);
        ASSERT_GT(b.FrameCount, 0);
        EXPECT_EQ(w % b.FrameCount, 0);
        const int frameKey = ini().ReadInteger(s, "frame", 0);
        if (frameKey > 0) {
            EXPECT_EQ(b.FrameCount, frameKey);
        }
    }
    EXPECT_EQ(loaded, 7);
    ASSERT_EQ(m.SysButtons.size(), static_cast<std::size_t>(loaded) + 3);
    const auto [dw, dh] = FileSize(ini().ReadString("MDICONTROLS", "Image", ""));
    for (std::size_t i = 0; i < 3; ++i) {
        const TDataSkinSysButton& b = *m.SysButtons[static_cast<std::size_t>(loaded) + i];
        EXPECT_EQ(b.Bitmap.GetWidth() * 3, dw);
        EXPECT_EQ(b.Bitmap.GetHeight(), dh);
        EXPECT_EQ(b.FrameCount, 4);
    }

    // The derived combo pictures: four 50 x 21 cells, the arrow a square per state.
    ASSERT_TRUE(m.ComboButton && m.SunkEdge && m.ComboxArrow);
    EXPECT_EQ(m.ComboButton->Bitmap.GetWidth(), 4 * 50);
    EXPECT_EQ(m.ComboButton->Bitmap.GetHeight(), 21);
    EXPECT_EQ(m.SunkEdge->Bitmap.GetWidth(), 4 * 50);
    EXPECT_EQ(m.ComboxArrow->Bitmap.GetWidth(), 4 * 17);
    EXPECT_EQ(m.ComboxArrow->Bitmap.GetHeight(), 17);
}

// Every element of a model, by a name for messages.
std::vector<std::pair<std::string, const TDataSkinObject*>> Elements(const TSkinModel& m) {
    std::vector<std::pair<std::string, const TDataSkinObject*>> all = {
        {"Title", &m.Title}, {"Left", &m.LeftBorder}, {"Right", &m.RightBorder}, {"Top", &m.TopBorder},
        {"Bottom", &m.BottomBorder}, {"Buttons", &m.Buttons}};
    for (std::size_t i = 0; i < m.SysButtons.size(); ++i)
        all.emplace_back("SysButton" + std::to_string(i), m.SysButtons[i].get());
    const std::pair<const char*, const TDataSkinObject*> optional[] = {
        {"MenuBar", m.MenuBar.get()}, {"Progress", m.Progress.get()}, {"ProgressChunk", m.ProgressChunk.get()},
        {"GroupBoxEdge", m.GroupBoxEdge.get()}, {"GroupBox", m.GroupBox.get()}, {"Tabs", m.Tabs.get()},
        {"StatusBarEdges", m.StatusBarEdges.get()}, {"TabPane", m.TabPane.get()}, {"ToolBars", m.ToolBars.get()},
        {"ComboButton", m.ComboButton.get()}, {"SunkEdge", m.SunkEdge.get()}, {"ExtraImages", m.ExtraImages.get()},
        {"Headerbar", m.Headerbar.get()}, {"MenuItem", m.MenuItem.get()}, {"MenuBackground", m.MenuBackground.get()},
        {"Scrollbar", m.Scrollbar.get()}, {"HorzScroll", m.HorzScroll.get()}, {"VertScroll", m.VertScroll.get()},
        {"HorzScrollThumb", m.HorzScrollThumb.get()}, {"VertScrollThumb", m.VertScrollThumb.get()},
        {"TrackbarThumbHorz", m.TrackbarThumbHorz.get()}, {"TrackbarThumbVert", m.TrackbarThumbVert.get()},
        {"TrackbarThumbLeft", m.TrackbarThumbLeft.get()}, {"TrackbarThumbRight", m.TrackbarThumbRight.get()},
        {"TrackbarThumbUp", m.TrackbarThumbUp.get()}, {"TrackbarThumbDown", m.TrackbarThumbDown.get()},
        {"UpDownHorz", m.UpDownHorz.get()}, {"UpDownVert", m.UpDownVert.get()}, {"Track", m.Track.get()},
        {"TrackVert", m.TrackVert.get()}, {"ComboxArrow", m.ComboxArrow.get()}, {"Toolbar", m.Toolbar.get()}};
    for (const auto& [name, e] : optional)
        all.emplace_back(name, e);
    return all;
}

// The pixels of a bitmap as 24-bit rows, for comparing two pictures.
std::vector<std::uint8_t> Pixels(const TBitmap& bitmap) {
    if (bitmap.GetEmpty())
        return {};
    TBitmap b;
    b.Assign(bitmap);
    b.SetPixelFormat(pf24bit);
    std::vector<std::uint8_t> out;
    for (int y = 0; y < b.GetHeight(); ++y) {
        const auto* row = static_cast<const std::uint8_t*>(b.ScanLine(y));
        out.insert(out.end(), row, row + 3 * b.GetWidth());
    }
    return out;
}

TEST_F(SkinBlob, ModelEqualsTheOneLoadedFromTheUncompressedFolder) {
    TLoadedSkin folder;
    folder.Reader.OnMessage = [](const std::wstring&) {};
    ASSERT_TRUE(folder.Reader.IndexArchive(BuildSkinArchive(CollectSkinFolder(SkinFolder(), false))));
    folder.Load();

    const auto a = Elements(model());
    const auto b = Elements(folder.Model);
    ASSERT_EQ(a.size(), b.size());
    int pictures = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(a[i].first);
        ASSERT_NE(a[i].second, nullptr);
        ASSERT_NE(b[i].second, nullptr);
        const TDataSkinObject& x = *a[i].second;
        const TDataSkinObject& y = *b[i].second;
        EXPECT_EQ(x.FrameCount, y.FrameCount);
        EXPECT_EQ(x.LeftWidth, y.LeftWidth);
        EXPECT_EQ(x.RightWidth, y.RightWidth);
        EXPECT_EQ(x.TopHeight, y.TopHeight);
        EXPECT_EQ(x.BottomHeight, y.BottomHeight);
        EXPECT_EQ(x.Trans, y.Trans);
        EXPECT_EQ(x.Tile, y.Tile);
        EXPECT_EQ(x.Bitmap.GetWidth(), y.Bitmap.GetWidth());
        EXPECT_EQ(x.Bitmap.GetHeight(), y.Bitmap.GetHeight());
        EXPECT_TRUE(Pixels(x.Bitmap) == Pixels(y.Bitmap));
        pictures += !x.Bitmap.GetEmpty();
    }
    // Only the system-menu button draws the window's own icon instead of a picture.
    EXPECT_EQ(pictures, static_cast<int>(a.size()) - 1);
    EXPECT_EQ(model().ButtonFaceColour, folder.Model.ButtonFaceColour);
    EXPECT_EQ(model().SampledTitleColour, folder.Model.SampledTitleColour);
    EXPECT_EQ(model().SkinName, L"Vexlo Calm");
}

// Our skin's definition with values changed at random to hostile ones (negative, zero,
// huge, extreme 32-bit numbers, missing or wrong pictures), loaded over the blob's own
// bitmaps: every load must finish without a crash or an exception, and what it builds
// must stay coherent.
TEST_F(SkinBlob, HostileValuesInOurDefinitionLoadWithoutFault) {
    const char* hostile[] = {"-1", "0", "1", "-2147483648", "2147483647", "100000", "-99999", "65535",
                             "$FFFFFFFF", "0x7FFFFFFF", "", "x", "255 255", "nothing.bmp", "menuitem.bmp",
                             "scrollbar.bmp", "C:\\skins\\close.bmp", "close.BMP"};
    std::mt19937 rng(20261208);
    const std::vector<std::string>& lines = ini().Lines();
    // 200 rounds by default; VX_SKIN_HOSTILE_ROUNDS asks for a longer run.
    const char* asked = std::getenv("VX_SKIN_HOSTILE_ROUNDS");
    const int rounds = asked ? std::max(1, std::atoi(asked)) : 200;
    for (int round = 0; round < rounds; ++round) {
        std::string text;
        int changed = 0;
        for (const std::string& line : lines) {
            const std::size_t eq = line.find('=');
            if (eq != std::string::npos && rng() % 8 == 0) {
                text += line.substr(0, eq + 1) + hostile[rng() % std::size(hostile)];
                ++changed;
            } else {
                text += line;
            }
            text += "\r\n";
        }
        SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(changed) + " values changed");
        TQuickIni changedIni;
        changedIni.LoadFromText(text);
        TSkinModel m;
        TSkinLoadOptions options;
        options.ScrollArrowWidth = round % 3 == 0 ? 40 : 17;
        try {
            m.LoadDefinition(changedIni, reader(), options);
        } catch (const std::exception& e) {
            FAIL() << "the load threw: " << e.what();
        }
        // Pictures come whole from the archive or from the fixed derivations; frame
        // counts stay as the model states them; the derived pictures always exist.
        ASSERT_TRUE(m.ComboxArrow && m.Toolbar && m.Track && m.TrackVert);
        EXPECT_EQ(m.Toolbar->Bitmap.GetWidth(), 10);
        EXPECT_GE(m.SysButtons.size(), 3u);
        for (const auto& [name, e] : Elements(m)) {
            if (!e)
                continue;
            EXPECT_GE(e->Bitmap.GetWidth(), 0) << name;
            EXPECT_LE(e->Bitmap.GetWidth(), 4096) << name;
            EXPECT_LE(e->Bitmap.GetHeight(), 4096) << name;
        }
        if (m.ComboButton && m.SunkEdge) {
            EXPECT_EQ(m.ComboButton->Bitmap.GetWidth(), 200);
            EXPECT_EQ(m.SunkEdge->Bitmap.GetWidth(), 200);
        }
        if (HasFatalFailure())
            return;
    }
}

}  // namespace
}  // namespace vx
