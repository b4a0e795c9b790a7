// Loads every picture of the resource fragments from the executable by name, as the
// skin engine and the program do.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>

#include "framework/Handles.h"

namespace {

using vx::TBitmapHandle;

BITMAP bitmapInfo(const wchar_t* name) {
  BITMAP bm{};
  const TBitmapHandle h(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  EXPECT_TRUE(h) << "bitmap resource missing";
  if (h) GetObjectW(h.Get(), sizeof bm, &bm);
  return bm;
}

TEST(PictureResources, SkinEngineBitmapsLoadWithTheirSizes) {
  BITMAP track = bitmapInfo(L"TRACK");
  EXPECT_EQ(track.bmWidth, 16);
  EXPECT_EQ(track.bmHeight, 4);
  BITMAP vert = bitmapInfo(L"TRACKVERT");
  EXPECT_EQ(vert.bmWidth, 4);
  EXPECT_EQ(vert.bmHeight, 16);
  BITMAP glyphs = bitmapInfo(L"SKINMENUGLYPHS");
  EXPECT_EQ(glyphs.bmWidth, 64);
  EXPECT_EQ(glyphs.bmHeight, 16);
  EXPECT_EQ(glyphs.bmBitsPixel, 1);
}

TEST(PictureResources, ProgramPicturesLoad) {
  EXPECT_EQ(bitmapInfo(L"QUEUESTATES").bmWidth, 64);
  EXPECT_EQ(bitmapInfo(L"ABOUTGLYPH").bmWidth, 16);
  EXPECT_EQ(bitmapInfo(L"DONATEGLYPH").bmHeight, 16);
  EXPECT_EQ(bitmapInfo(L"SHUTDOWNPICTURE").bmWidth, 48);
  EXPECT_EQ(bitmapInfo(L"APPICON48").bmHeight, 48);

  HRSRC jpeg = FindResourceW(nullptr, L"BANNER", MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  ASSERT_NE(jpeg, nullptr);
  const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, jpeg)));
  ASSERT_NE(bytes, nullptr);
  ASSERT_GT(SizeofResource(nullptr, jpeg), 4u);
  EXPECT_EQ(bytes[0], 0xFF);  // JPEG start-of-image marker
  EXPECT_EQ(bytes[1], 0xD8);
}

TEST(PictureResources, ProgramIconHasEachSize) {
  for (int size : {16, 32, 48}) {
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    const TBitmapHandle color(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, size);
    DestroyIcon(icon);
  }
}

}  // namespace
