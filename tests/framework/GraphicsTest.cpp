#include "framework/Graphics.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/framework/GraphicsTestJpeg.h"
#include "framework/Handles.h"

namespace vx {
namespace {

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

// A white 24-bit bitmap to draw on.
std::unique_ptr<TBitmap> WhiteBitmap(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h, pf24bit);
    b->GetCanvas()->GetBrush()->SetColor(clWhite);
    b->GetCanvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

int Distance(TColor a, TColor b) {
    return std::abs(int(GetRValue(a)) - GetRValue(b)) + std::abs(int(GetGValue(a)) - GetGValue(b)) +
           std::abs(int(GetBValue(a)) - GetBValue(b));
}

TEST(Color, SystemColoursResolveThroughTheSystem) {
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clHighlightText), GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(ColorToRGB(cl3DDkShadow), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(clBtnFace, 0xFF00000Fu);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(ColorToRGB(clNone), clNone);  // not a system colour: unchanged
    EXPECT_EQ(ColorToColorRef(clNone), 0xFFFFFFu);
}

TEST(Font, HandleFollowsTheDescription) {
    TFont font;
    EXPECT_EQ(font.GetCharset(), DEFAULT_CHARSET);
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    font.SetName(L"宋体");
    font.SetCharset(GB2312_CHARSET);
    font.SetHeight(-12);
    font.SetStyle(fsBold | fsUnderline);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(font.GetSize(), 9);  // 12 pixels at 96 dpi
    LOGFONTW lf{};
    HFONT first = font.GetHandle();
    ASSERT_TRUE(GetObjectW(first, sizeof(lf), &lf));
    EXPECT_STREQ(lf.lfFaceName, L"宋体");
    EXPECT_EQ(lf.lfCharSet, 134);
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_FALSE(lf.lfItalic);
    EXPECT_EQ(font.GetHandle(), first);  // kept while nothing changes
    font.SetSize(14);
    EXPECT_EQ(font.GetHeight(), -19);
    ASSERT_TRUE(GetObjectW(font.GetHandle(), sizeof(lf), &lf));
    EXPECT_EQ(lf.lfHeight, -19);

    // Published properties by name.
    EXPECT_TRUE(SetOrdProp(&font, L"height", -16));
    EXPECT_TRUE(SetOrdProp(&font, L"Style", fsItalic));
    EXPECT_TRUE(SetStrProp(&font, L"Name", L"Arial"));
    std::int64_t v = 0;
    EXPECT_TRUE(GetOrdProp(&font, L"Charset", v));
    EXPECT_EQ(v, 134);
    EXPECT_EQ(font.GetStyle(), static_cast<TFontStyles>(fsItalic));
    TFont copy;
    EXPECT_TRUE(copy.Assign(font));
    EXPECT_EQ(copy.GetName(), L"Arial");
    EXPECT_EQ(copy.GetHeight(), -16);
    EXPECT_TRUE(copy.InheritsFrom(L"TPersistent"));
}

TEST(Canvas, LinesLeaveOutTheEndPointAndFillsCoverTheRectangle) {
    auto b = WhiteBitmap(10, 10);
    TCanvas* c = b->GetCanvas();
    c->GetPen()->SetColor(clBlack);
    c->MoveTo(1, 1);
    c->LineTo(5, 1);
    EXPECT_EQ(c->GetPixel(1, 1), clBlack);
    EXPECT_EQ(c->GetPixel(4, 1), clBlack);
    EXPECT_EQ(c->GetPixel(5, 1), clWhite);
    EXPECT_EQ(c->GetPenPos().x, 5);
    c->GetBrush()->SetColor(clRed);
    c->FillRect(Rect(2, 3, 5, 6));
    EXPECT_EQ(c->GetPixel(2, 3), clRed);
    EXPECT_EQ(c->GetPixel(4, 5), clRed);
    EXPECT_EQ(c->GetPixel(5, 5), clWhite);
    EXPECT_EQ(c->GetPixel(4, 6), clWhite);
    // Rectangle: pen outline, brush inside, right/bottom exclusive.
    c->GetPen()->SetColor(clBlue);
    c->GetBrush()->SetColor(clLime);
    c->Rectangle(6, 6, 10, 10);
    EXPECT_EQ(c->GetPixel(6, 6), clBlue);
    EXPECT_EQ(c->GetPixel(9, 9), clBlue);
    EXPECT_EQ(c->GetPixel(7, 7), clLime);
    // A clear brush fills nothing.
    c->GetBrush()->SetStyle(bsClear);
    c->FillRect(Rect(0, 7, 3, 10));
    EXPECT_EQ(c->GetPixel(1, 8), clWhite);
    c->SetPixel(0, 9, clNavy);
    EXPECT_EQ(c->GetPixel(0, 9), clNavy);
    EXPECT_EQ(c->GetPixel(50, 50), clNone);  // outside
}

TEST(Canvas, ChineseTextDrawsAndFollowsFontChanges) {
    auto b = WhiteBitmap(80, 40);
    TCanvas* c = b->GetCanvas();
    c->GetFont()->SetName(L"宋体");
    c->GetFont()->SetCharset(GB2312_CHARSET);
    c->GetFont()->SetHeight(-12);
    c->GetFont()->SetColor(clBlack);
    c->GetBrush()->SetStyle(bsClear);
    const SIZE small = c->TextExtent(L"视频转换");
    EXPECT_GT(small.cx, 20);
    c->TextOut(2, 2, L"视频转换");
    int dark = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            if (Distance(c->GetPixel(x, y), clWhite) > 200) ++dark;
    EXPECT_GT(dark, 20) << "the text left no marks";
    // The changed font is selected again before the next call.
    c->GetFont()->SetHeight(-24);
    EXPECT_GT(c->TextHeight(L"视频"), small.cy);
    EXPECT_GT(c->TextWidth(L"视频转换"), small.cx);
}

TEST(Canvas, CopyRectStretchesWithTheCopyMode) {
    auto source = WhiteBitmap(2, 2);
    source->GetCanvas()->SetPixel(0, 0, clRed);
    auto dest = WhiteBitmap(16, 16);
    dest->GetCanvas()->CopyRect(Rect(0, 0, 16, 16), source->GetCanvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(dest->GetCanvas()->GetPixel(7, 7), clRed);  // each pixel became 8 x 8
    EXPECT_EQ(dest->GetCanvas()->GetPixel(8, 8), clWhite);
    dest->GetCanvas()->SetCopyMode(NOTSRCCOPY);
    dest->GetCanvas()->CopyRect(Rect(0, 0, 2, 2), source->GetCanvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(dest->GetCanvas()->GetPixel(1, 1), clBlack);
}

TEST(Bitmap, ScanLineIsTopDownAndSeesCanvasDrawing) {
    TBitmap b(4, 3, pf24bit);
    EXPECT_EQ(b.GetRowStride(), 12);
    auto* top = static_cast<std::uint8_t*>(b.ScanLine(0));
    top[2] = 255;  // pixel (0, 0) red (B, G, R order)
    EXPECT_EQ(b.GetCanvas()->GetPixel(0, 0), clRed);
    EXPECT_EQ(b.GetCanvas()->GetPixel(0, 2), clBlack);
    b.GetCanvas()->SetPixel(3, 2, clBlue);
    const auto* bottom = static_cast<const std::uint8_t*>(b.ScanLine(2));
    EXPECT_EQ(bottom[9], 255);
    EXPECT_EQ(static_cast<std::uint8_t*>(b.ScanLine(1)) - top, b.GetRowStride() * -1);  // bottom-up DIB underneath
    EXPECT_THROW(b.ScanLine(3), EInvalidGraphic);
    EXPECT_THROW(b.ScanLine(-1), EInvalidGraphic);
}

// Fills a bitmap of any format with a pattern drawn through the canvas.
void DrawPattern(TBitmap& b) {
    const TColor colors[] = {clRed, clWhite, clBlack, clBlue, clLime, clYellow, clNavy, clGray};
    for (int y = 0; y < b.GetHeight(); ++y)
        for (int x = 0; x < b.GetWidth(); ++x) b.GetCanvas()->SetPixel(x, y, colors[(x + 3 * y) % 8]);
}

TEST(Bitmap, BmpRoundTripAtEveryDepth) {
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        TBitmap b(13, 7, format);
        DrawPattern(b);
        TMemoryStream m;
        b.SaveToStream(m);
        m.SetPosition(0);
        TBitmap back;
        back.LoadFromStream(m);
        EXPECT_EQ(m.GetPosition(), m.GetSize());
        ASSERT_EQ(back.GetWidth(), 13) << format;
        ASSERT_EQ(back.GetHeight(), 7);
        EXPECT_EQ(back.GetPixelFormat(), format);
        int differences = 0;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x)
                if (back.GetCanvas()->GetPixel(x, y) != b.GetCanvas()->GetPixel(x, y)) ++differences;
        EXPECT_EQ(differences, 0) << "format " << format;
        if (format == pf1bit) {
            // The pattern reduced to two colours still has both.
            EXPECT_NE(back.GetCanvas()->GetPixel(0, 0), back.GetCanvas()->GetPixel(1, 0));
        }
    }
}

TEST(Bitmap, ReadsTopDownFilesAndRejectsMalformedOnes) {
    // 2 x 2, 24 bits, top-down: first stored row is the top row (red, green).
    std::vector<std::uint8_t> file = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0,
                                      0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0,
                                      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      0, 0, 255, 0, 255, 0, 0, 0,       // top: red, green
                                      255, 0, 0, 255, 255, 255, 0, 0};  // bottom: blue, white
    TMemoryStream m;
    m.WriteBuffer(file.data(), static_cast<std::int32_t>(file.size()));
    m.SetPosition(0);
    TBitmap b;
    b.LoadFromStream(m);
    EXPECT_EQ(b.GetCanvas()->GetPixel(0, 0), clRed);
    EXPECT_EQ(b.GetCanvas()->GetPixel(1, 0), clLime);
    EXPECT_EQ(b.GetCanvas()->GetPixel(0, 1), clBlue);
    EXPECT_EQ(static_cast<std::uint8_t*>(b.ScanLine(0))[2], 255);

    // Truncated pixel data: refused, and the bitmap keeps its picture.
    file.resize(file.size() - 3);
    TMemoryStream bad;
    bad.WriteBuffer(file.data(), static_cast<std::int32_t>(file.size()));
    bad.SetPosition(0);
    EXPECT_THROW(b.LoadFromStream(bad), EInvalidGraphic);
    EXPECT_EQ(b.GetWidth(), 2);
    EXPECT_EQ(b.GetCanvas()->GetPixel(0, 0), clRed);
    TMemoryStream notBmp;
    notBmp.WriteBuffer("GIF89a....................................", 40);
    notBmp.SetPosition(0);
    EXPECT_THROW(b.LoadFromStream(notBmp), EInvalidGraphic);
}

TEST(Bitmap, PixelFormatChangesConvertThePixels) {
    TBitmap b(4, 1, pf24bit);
    TCanvas* c = b.GetCanvas();
    c->SetPixel(0, 0, clRed);
    c->SetPixel(1, 0, clWhite);
    c->SetPixel(2, 0, RGB(0x80, 0x80, 0x80));
    c->SetPixel(3, 0, RGB(250, 10, 5));
    b.SetPixelFormat(pf8bit);
    EXPECT_EQ(b.GetPixelFormat(), pf8bit);
    EXPECT_EQ(b.GetColorTable().size(), 256u);
    EXPECT_EQ(c->GetPixel(0, 0), clRed);
    EXPECT_EQ(c->GetPixel(1, 0), clWhite);
    EXPECT_EQ(c->GetPixel(2, 0), clGray);
    EXPECT_EQ(c->GetPixel(3, 0), clRed);  // nearest table entry
    b.SetPixelFormat(pf1bit);
    EXPECT_EQ(c->GetPixel(0, 0), clBlack);
    EXPECT_EQ(c->GetPixel(1, 0), clWhite);
    b.SetPixelFormat(pf16bit);
    EXPECT_EQ(c->GetPixel(1, 0), clWhite);
    EXPECT_EQ(b.GetRowStride(), 8);

    // Widening a paletted bitmap keeps its own colour table.
    TBitmap p(2, 1, pf4bit);
    std::vector<RGBQUAD> table(16, RGBQUAD{0, 0, 0, 0});
    table[5] = RGBQUAD{0x12, 0x34, 0x56, 0};
    p.SetColorTable(table);
    static_cast<std::uint8_t*>(p.ScanLine(0))[0] = 0x50;  // pixel 0 = index 5
    EXPECT_EQ(p.GetCanvas()->GetPixel(0, 0), RGB(0x56, 0x34, 0x12));
    p.SetPixelFormat(pf8bit);
    EXPECT_EQ(p.GetCanvas()->GetPixel(0, 0), RGB(0x56, 0x34, 0x12));
    EXPECT_EQ(static_cast<std::uint8_t*>(p.ScanLine(0))[0], 5);
    p.SetPixelFormat(pf24bit);
    EXPECT_EQ(p.GetCanvas()->GetPixel(0, 0), RGB(0x56, 0x34, 0x12));
}

TEST(Bitmap, SizeAssignAndHandles) {
    TBitmap b(3, 3, pf24bit);
    b.GetCanvas()->SetPixel(0, 0, clRed);
    b.GetCanvas()->SetPixel(2, 2, clBlue);
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.SetSize(2, 5);  // keeps the top-left part
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b.GetCanvas()->GetPixel(0, 0), clRed);
    EXPECT_EQ(b.GetCanvas()->GetPixel(1, 4), clBlack);
    TBitmap copy;
    EXPECT_TRUE(copy.Assign(b));
    EXPECT_EQ(copy.GetWidth(), 2);
    EXPECT_EQ(copy.GetCanvas()->GetPixel(0, 0), clRed);
    copy.GetCanvas()->SetPixel(0, 0, clLime);
    EXPECT_EQ(b.GetCanvas()->GetPixel(0, 0), clRed);  // a copy, not shared

    // The handle can be selected into another DC although the canvas has drawn.
    {
        const TMemoryDC other;
        const HBITMAP handle = copy.GetHandle();
        const TSelectObject selection(other.Get(), handle);
        EXPECT_EQ(GetCurrentObject(other.Get(), OBJ_BITMAP), handle);
        EXPECT_EQ(::GetPixel(other.Get(), 0, 0), clLime);
    }
    copy.GetCanvas()->SetPixel(1, 0, clBlue);  // the canvas works again afterwards
    EXPECT_EQ(copy.GetCanvas()->GetPixel(1, 0), clBlue);

    HBITMAP h = copy.ReleaseHandle();
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(copy.GetEmpty());
    TBitmap adopted;
    adopted.SetHandle(h);  // copied into a DIB section, the handle deleted
    EXPECT_EQ(adopted.GetWidth(), 2);
    EXPECT_EQ(adopted.GetCanvas()->GetPixel(0, 0), clLime);
    BITMAP bm;
    EXPECT_EQ(GetObjectW(h, sizeof(bm), &bm), 0);
}

TEST(Bitmap, TransparentDrawingSkipsTheKeyColour) {
    TBitmap sprite(4, 4, pf24bit);
    sprite.GetCanvas()->GetBrush()->SetColor(clFuchsia);
    sprite.GetCanvas()->FillRect(Rect(0, 0, 4, 4));
    sprite.GetCanvas()->SetPixel(1, 1, clLime);
    EXPECT_EQ(sprite.GetTransparentColor(), clFuchsia);  // tmAuto: bottom-left pixel
    sprite.SetTransparent(true);
    auto target = WhiteBitmap(8, 8);
    target->GetCanvas()->Draw(2, 2, &sprite);
    EXPECT_EQ(target->GetCanvas()->GetPixel(3, 3), clLime);
    EXPECT_EQ(target->GetCanvas()->GetPixel(2, 2), clWhite);
    EXPECT_EQ(target->GetCanvas()->GetPixel(5, 5), clWhite);
    sprite.SetTransparent(false);
    target->GetCanvas()->Draw(2, 2, &sprite);
    EXPECT_EQ(target->GetCanvas()->GetPixel(2, 2), clFuchsia);
    sprite.SetTransparentColor(clLime);
    EXPECT_EQ(sprite.GetTransparentMode(), tmFixed);
    EXPECT_EQ(sprite.GetTransparentColor(), clLime);
}

TEST(JPEGImage, DecodesDrawsAndRejectsBadData) {
    TMemoryStream m;
    m.WriteBuffer(kRedBlueJpeg, sizeof(kRedBlueJpeg));
    m.SetPosition(0);
    TJPEGImage jpeg;
    jpeg.LoadFromStream(m);
    ASSERT_EQ(jpeg.GetWidth(), 16);
    EXPECT_EQ(jpeg.GetHeight(), 16);
    auto target = WhiteBitmap(20, 20);
    target->GetCanvas()->Draw(2, 2, &jpeg);
    EXPECT_LT(Distance(target->GetCanvas()->GetPixel(4, 10), clRed), 40);
    EXPECT_LT(Distance(target->GetCanvas()->GetPixel(15, 10), clBlue), 40);
    EXPECT_EQ(target->GetCanvas()->GetPixel(1, 1), clWhite);

    TMemoryStream bad;
    bad.WriteBuffer(kRedBlueJpeg, 100);  // cut short
    bad.SetPosition(0);
    TJPEGImage broken;
    EXPECT_THROW(broken.LoadFromStream(bad), EInvalidGraphic);
    EXPECT_TRUE(broken.GetEmpty());
}

TEST(Picture, LoadsByExtensionAndHoldsCopies) {
    const std::wstring jpgPath = L"picture_test.jpg", bmpPath = L"picture_test.bmp";
    {
        TFileStream f(jpgPath, fmCreate);
        f.WriteBuffer(kRedBlueJpeg, sizeof(kRedBlueJpeg));
    }
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.LoadFromFile(jpgPath);
    EXPECT_TRUE(picture.GetGraphic()->InheritsFrom(L"TJPEGImage"));
    EXPECT_EQ(picture.GetWidth(), 16);
    EXPECT_GE(changes, 1);
    EXPECT_THROW(picture.LoadFromFile(L"picture_test.gif"), EInvalidGraphic);
    EXPECT_EQ(picture.GetWidth(), 16);  // unchanged after a failed load

    TBitmap* bitmap = picture.GetBitmap();  // replaces the JPEG with an empty bitmap
    EXPECT_TRUE(bitmap->GetEmpty());
    bitmap->SetSize(3, 2);
    bitmap->GetCanvas()->SetPixel(2, 1, clRed);
    const int before = changes;
    bitmap->GetCanvas()->SetPixel(0, 0, clRed);  // canvas drawing does not reach OnChange,
    bitmap->SetSize(3, 3);                        // but the bitmap's own changes do
    EXPECT_GT(changes, before);
    picture.SaveToFile(bmpPath);
    TPicture other;
    other.LoadFromFile(bmpPath);
    EXPECT_EQ(other.GetHeight(), 3);
    EXPECT_EQ(other.GetBitmap()->GetCanvas()->GetPixel(2, 1), clRed);
    TPicture copy;
    EXPECT_TRUE(copy.Assign(other));
    EXPECT_NE(copy.GetGraphic(), other.GetGraphic());
    TObject* graphic = nullptr;
    EXPECT_TRUE(GetObjectProp(&copy, L"Graphic", graphic));
    EXPECT_EQ(graphic, copy.GetGraphic());
    DeleteFileW(jpgPath.c_str());
    DeleteFileW(bmpPath.c_str());
}

// A 16 x 16 icon file of 32 bits per pixel, green with an empty AND mask.
std::vector<std::uint8_t> GreenIconFile() {
    std::vector<std::uint8_t> f = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 22, 0, 0, 0};
    std::vector<std::uint8_t> image(40 + 16 * 16 * 4 + 16 * 4, 0);
    const std::uint32_t header[] = {40, 16, 32};
    std::memcpy(image.data(), header, sizeof(header));
    image[12] = 1;   // planes
    image[14] = 32;  // bits
    for (int i = 0; i < 256; ++i) {
        image[40 + 4 * i + 1] = 255;  // green
        image[40 + 4 * i + 3] = 255;  // opaque
    }
    const auto size = static_cast<std::uint32_t>(image.size());
    std::memcpy(f.data() + 14, &size, 4);
    f.insert(f.end(), image.begin(), image.end());
    return f;
}

TEST(Icon, LoadsIcoDataSavesItAndDraws) {
    const std::vector<std::uint8_t> file = GreenIconFile();
    TMemoryStream m;
    m.WriteBuffer(file.data(), static_cast<std::int32_t>(file.size()));
    m.SetPosition(0);
    TIcon icon;
    icon.LoadFromStream(m);
    ASSERT_FALSE(icon.GetEmpty());
    EXPECT_EQ(icon.GetWidth(), 16);
    EXPECT_EQ(icon.GetHeight(), 16);
    auto target = WhiteBitmap(20, 20);
    target->GetCanvas()->Draw(2, 2, &icon);
    EXPECT_EQ(target->GetCanvas()->GetPixel(10, 10), clLime);
    EXPECT_EQ(target->GetCanvas()->GetPixel(1, 1), clWhite);
    TMemoryStream saved;
    icon.SaveToStream(saved);
    EXPECT_EQ(saved.GetSize(), static_cast<std::int64_t>(file.size()));
    EXPECT_THROW(icon.SetWidth(32), EInvalidGraphic);
    std::vector<std::uint8_t> cut(file.begin(), file.begin() + 30);
    TMemoryStream bad;
    bad.WriteBuffer(cut.data(), static_cast<std::int32_t>(cut.size()));
    bad.SetPosition(0);
    EXPECT_THROW(icon.LoadFromStream(bad), EInvalidGraphic);
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

TEST(Resources, StreamBitmapAndIconLoadByName) {
    HINSTANCE self = GetModuleHandleW(nullptr);
    TResourceStream data(self, L"FWTEST_DATA", RT_RCDATA);
    ASSERT_EQ(data.GetSize(), 6);
    char text[6];
    data.ReadBuffer(text, 6);
    EXPECT_STREQ(text, "hello");
    EXPECT_THROW(data.Write("x", 1), EStreamError);
    EXPECT_THROW(TResourceStream(self, L"NO_SUCH", RT_RCDATA), EResNotFound);

    // A 4-bit bitmap with a full colour table: the file header is rebuilt correctly.
    TBitmap b;
    b.LoadFromResourceName(self, L"FWTEST_BITMAP");
    ASSERT_EQ(b.GetWidth(), 3);
    EXPECT_EQ(b.GetPixelFormat(), pf4bit);
    EXPECT_EQ(b.GetCanvas()->GetPixel(0, 0), clRed);
    EXPECT_EQ(b.GetCanvas()->GetPixel(2, 0), clBlue);
    EXPECT_EQ(b.GetCanvas()->GetPixel(2, 1), clFuchsia);
    EXPECT_THROW(b.LoadFromResourceName(self, L"NO_SUCH"), EResNotFound);

    TIcon icon;
    icon.LoadFromResourceName(self, L"FWTEST_ICON");
    EXPECT_EQ(icon.GetWidth(), 16);
    auto target = WhiteBitmap(20, 20);
    target->GetCanvas()->Draw(0, 0, &icon);
    EXPECT_EQ(target->GetCanvas()->GetPixel(8, 8), clLime);
}

TEST(Canvas, TextPathsStrokeAndFill) {
    auto b = WhiteBitmap(120, 60);
    TCanvas* c = b->GetCanvas();
    c->GetFont()->SetName(L"宋体");
    c->GetFont()->SetHeight(-40);
    c->GetBrush()->SetStyle(bsClear);
    c->BeginPath();
    c->TextOut(4, 4, L"视频");
    c->EndPath();
    EXPECT_EQ(c->GetPixel(20, 20), clWhite);  // a path alone draws nothing
    c->GetPen()->SetWidth(3);
    c->GetPen()->SetColor(clBlack);
    c->GetBrush()->SetColor(clBlack);
    c->StrokeAndFillPath();
    int dark = 0;
    for (int y = 0; y < 60; y += 2)
        for (int x = 0; x < 120; x += 2)
            if (c->GetPixel(x, y) == clBlack) ++dark;
    EXPECT_GT(dark, 50);
}

}  // namespace
}  // namespace vx
